#pragma once
#include <algorithm>
#include <cstdint>

#include "clock.h"

// The clock of the creature on the player's square: milliseconds of play,
// which run only while the game takes input (see GameState::shiftCreature).
struct ThreatClock {
    // Which side a creature moves to next: 0 left, 1 centre, 2 right.
    int32_t threatCycle = 1;
    // When the creature's side was last heard in full, or when it last held
    // still.
    float lastThreatTime = 0.0f;
    float nowTime = 0.0f;
    // Whether the player has heard in full the side of the creature on his
    // square; false from its announcement until its sentence has been said.
    bool threatSideHeard = true;
    Tick lastThreatCheck = 0;

    // A pass of the main loop longer than this was the game holding (a
    // sentence played to its end, a dialog): the creatures wait for the
    // player, so such a pass counts as this much of their time.
    static constexpr Tick kLongestFrameMs = 100;

    // Counts the time since the last check, a long pass counting as
    // kLongestFrameMs.
    void run(Tick now)
    {
        const Tick gap = now - lastThreatCheck;
        lastThreatCheck = now;
        nowTime += static_cast<float>(std::min(gap, kLongestFrameMs));
    }
    // Each level's creatures start their clock afresh, so its float keeps
    // whole milliseconds however long the program has run.
    void restart()
    {
        threatCycle = 1;
        nowTime = lastThreatTime = 0.0f;
        threatSideHeard = true;
    }
};
