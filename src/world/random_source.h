#pragma once
#include <cstdint>
#include <optional>
#include <random>

// The draws that decide a level's random squares, the sides its creatures
// and bullets start on, and its traps. Each game owns one. The level start
// seeds it from the calendar second, as the game always has; a test (or a
// bench that replays a level) pins a seed instead, so that every level start
// draws the same squares whatever the clock says.
class RandomSource {
public:
    // Starts a level's draws: from the pinned seed when there is one, else
    // from the seed given (the calendar second).
    void startLevel(uint32_t calendarSeed) { engine_.seed(pinned_.value_or(calendarSeed)); }
    void pin(uint32_t seed) { pinned_ = seed; }

    // A draw from 0 to bound - 1; bound must be positive.
    int32_t below(int32_t bound) { return static_cast<int32_t>(engine_() % static_cast<uint32_t>(bound)); }

private:
    // Well mixed from any seed: levels started a second apart share no pattern.
    std::mt19937 engine_;
    std::optional<uint32_t> pinned_;
};
