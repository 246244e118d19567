#pragma once
#include "clock.h"
#include <functional>

struct InputState;
struct Play;
struct ReplayState;

// The order of one frame of the main loop, without the drawing itself, so
// that it can be run and checked without a window.
struct FrameDrawing {
    std::function<void()> scene;       // clears and draws the prompt or the play view
    std::function<void()> statusLine;  // draws only once the status is shown
};

// One frame: the scene, then, outside name entry, the input step, the two
// timed threats and the status line. During name entry only the prompt is drawn.
void runFrameLogic(Play& play, const FrameDrawing& draw);

// After the frame has been presented: outside name entry, the upkeep and,
// while a loaded game is replayed, the replay step. Returns true when Esc
// has been pressed and the loop is to end.
bool finishFrame(Play& play);

// Fires the replay's next entry when its time has come, raising the request
// that matches its letter and clearing the other three (an option letter
// clears all four). A request not yet carried out waits for the input
// step, unless the level is over.
void replayStep(ReplayState& replay, InputState& input, bool levelOver, Tick now);

