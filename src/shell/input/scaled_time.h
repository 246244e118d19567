#pragma once
#include "clock.h"

// The input gates measure time in scaled units: the tick times 1e-7, held as
// a 32-bit float. One unit is 10,000,000 ms, so the gates grow coarser as the
// tick count grows: within a millisecond for the first hours, about 115 ms
// after two days, about 305 ms near 2^31. Ticks count from the program's
// start, so only a game left running for days reaches the coarse range.
constexpr float kInputInterval = 0.00001f;     // the input step: 100 ms
constexpr float kOptionKeyInterval = 0.0001f;  // option keys: 1000 ms

float scaledTime(Tick tick);

// True when more than interval has passed from last to now, and then moves
// last to now. A now earlier than last means the tick counter has wrapped:
// the gate opens at once instead of staying shut for a whole wrap period.
bool passGate(float& last, float now, float interval);
