#include "level_stats.h"

void LevelStats::reset()
{
    missedShots = wallBumps = stepsWithMonster = stepCount = 0;
    missedAtMonsters = missedAtMutants = missedAtSuperMonsters = 0;
    doorBumps = bulletGrabErrors = missedInCorridor = 0;
    reachedEnd = false;
}

void LevelStats::recordStep(Tick at, int32_t row, int32_t col)
{
    if (stepCount >= kPathSize)
        return;
    stepTicks[stepCount] = at;
    stepRows[stepCount] = row;
    stepCols[stepCount] = col;
    ++stepCount;
}
