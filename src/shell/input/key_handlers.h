#pragma once
#include <string>

class GameState;
class ShellHooks;
struct Session;

// The steps of keyDown and menuCommand, shared between their files.
void nameEntryKey(int vk, GameState& game);
void optionKey(int vk, GameState& game, Session& session, ShellHooks& hooks);

// Writes the statistics report of the level being left. A report that could
// not be written is shown; the caller goes on either way.
void reportLevel(const GameState& game, Session& session, ShellHooks& hooks);

// Starts the level in play again, with an empty journal and no replay, and
// announces it; a map that can no longer be read is shown and the level goes
// on as it was.
void restartOrShow(GameState& game, Session& session, ShellHooks& hooks);

void showIfError(ShellHooks& hooks, const std::string& error);
