#pragma once
#include <cstdint>

#include "clock.h"

constexpr int kPathSize = 500;

// The counters of a level, which its report writes: the mistakes, whether
// its end was reached and the path the player walked.
struct LevelStats {
    int32_t missedShots = 0;
    int32_t missedAtMonsters = 0;
    int32_t missedAtMutants = 0;
    int32_t missedAtSuperMonsters = 0;
    int32_t doorBumps = 0;
    int32_t bulletGrabErrors = 0;
    int32_t missedInCorridor = 0;
    int32_t wallBumps = 0;
    bool reachedEnd = false;
    int32_t stepsWithMonster = 0;
    Tick stepTicks[kPathSize]{};
    int32_t stepCount = 0;
    int32_t stepRows[kPathSize]{};
    int32_t stepCols[kPathSize]{};

    // Everything counted starts afresh: at every level start, and when a
    // saved game is put in play, whose replay counts its own actions.
    void reset();
    // Records a step onto the square given; the path keeps the first steps
    // of a long level only.
    void recordStep(Tick at, int32_t row, int32_t col);
};
