#pragma once
#include <cstdint>

#include "journal.h"

// The replay of a loaded game: its entries fire one by one with the spacing
// they were recorded with, raising the same requests as the keys.
struct ReplayState {
    JournalEntry replayList[kJournalSize]{};
    int32_t replayCount = 0;
    int32_t replayPosition = 0;
    // The tick at which the last entry fired. Waits are measured as tick
    // differences, so they stay exact and survive the counter's wrap.
    Tick lastReplayTick = 0;
    bool replaying = false;
};

// Once per frame while replaying: returns the letter of the entry that fires
// now ('S', 'H', 'J', 'K' or an option letter), or 0 when none fires. The
// caller assigns the four request flags from it (an option letter clears all
// four and toggles nothing). Entry p fires once the recorded gap between
// entries p - 1 and p has passed since the previous firing; the first fires
// at once. The call after the last firing ends the replay.
char replayTick(ReplayState& replay, Tick now);

// Replaces the replay with these entries and starts it from the first, also
// when a replay was running.
void startReplay(ReplayState& replay, const JournalEntry* entries, int32_t count);

// Stops and rewinds any replay.
void stopReplay(ReplayState& replay);
