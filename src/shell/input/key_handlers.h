#pragma once
#include <string>

class GameState;
class ShellHooks;
struct InputState;
struct Play;

// The steps of keyDown and menuCommand, shared between their files.
void nameEntryKey(int vk, GameState& game, InputState& input);
void optionKey(int vk, Play& play);

// Writes the statistics report of the level being left. A report that could
// not be written is shown; the caller goes on either way.
void reportLevel(Play& play);

// Starts the level in play again, with an empty journal and no replay, and
// announces it; a map that can no longer be read is shown and the level goes
// on as it was.
void restartOrShow(Play& play);

void showIfError(ShellHooks& hooks, const std::string& error);
