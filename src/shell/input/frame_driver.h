#pragma once

class GameState;
struct InputState;
class ShellHooks;
struct Journal;

// Mouse zones: which side a right click acts on.
namespace MouseZone {
enum : int { Left = 1, Centre = 2, Right = 3 };
}

// Where the pointer is put back after every reading, so that each reading
// measures the travel since the last one.
constexpr int kSteerCentreX = 600;
constexpr int kSteerCentreY = 440;
constexpr int kSteerLimit = 200;

// The input step: carries out the pending requests in a fixed order (a
// refused step, a step, left, centre, right), each through performAction.
// Passes that act are at least 100 ms apart; a pass with nothing to carry out
// does not count, so a request after a pause acts at once.
void pollInput(GameState& game, InputState& input, Journal& journal);

// After each frame outside name entry: follows the mouse, starts the
// background music when due and swaps infinite bullets in and out.
void frameUpkeep(GameState& game, ShellHooks& hooks);

// Turns the pointer's horizontal travel into mouseOffset (held within
// -200..200) and returns the zone it selects.
int steerMouse(GameState& game, ShellHooks& hooks);
