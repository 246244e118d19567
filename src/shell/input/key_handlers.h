#pragma once
#include <string>

class GameState;
class ShellHooks;

// The steps of keyDown and menuCommand, shared between their files.
void nameEntryKey(int vk, GameState& game);
void optionKey(int vk, GameState& game, ShellHooks& hooks);

// Writes the statistics report of the level being left. A report that could
// not be written is shown; the caller goes on either way.
void reportLevel(const GameState& game, ShellHooks& hooks);

// Starts the level in play again; a map that can no longer be read is shown
// and the level goes on as it was.
void restartOrShow(GameState& game, ShellHooks& hooks);

void showIfError(ShellHooks& hooks, const std::string& error);
