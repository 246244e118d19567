#pragma once
#include <cstdint>
#include <ctime>

// Ticks are milliseconds, as unsigned 32-bit values that wrap (after about
// 49 days). The game reads its time from the clock it was given: the system
// clock in play, a controllable one in tests and fuzzers, so that timed rules
// run on a clock the caller steers.
using Tick = uint32_t;

class Clock {
public:
    virtual ~Clock() = default;
    virtual Tick now() const = 0;
    // Calendar time, for report names and the creatures' random seed.
    virtual std::time_t calendar() const = 0;
};

// Milliseconds since the program's start, and the wall calendar.
const Clock& systemClock();
