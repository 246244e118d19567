#include "clock.h"

#include <chrono>

namespace {
// Ticks count from the program's start, not from the steady clock's own
// epoch (usually the machine's boot): the values in reports and saved games
// then read as time into the game, and the float timings built on them (the
// input gates, the 3-second threat checks) keep millisecond precision for
// hours of play instead of coarsening with the machine's uptime.
const std::chrono::steady_clock::time_point programStart = std::chrono::steady_clock::now();

class SystemClock final : public Clock {
public:
    Tick now() const override
    {
        using namespace std::chrono;
        auto ms = duration_cast<milliseconds>(steady_clock::now() - programStart).count();
        return static_cast<Tick>(static_cast<uint64_t>(ms));
    }
    std::time_t calendar() const override { return std::time(nullptr); }
};

const SystemClock kSystemClock;
}  // namespace

const Clock& systemClock() { return kSystemClock; }
