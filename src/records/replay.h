#pragma once
#include <cstdint>

#include "journal.h"

// The replay of a loaded game: its entries fire one by one with the spacing
// they were recorded with, raising the same requests as the keys.
struct ReplayState {
    JournalEntry replayList[kJournalSize]{};
    int32_t replayCount = 0;
    int32_t replayPosition = 0;
    float lastReplayTime = 0.0f;
    bool replaying = false;
};

extern ReplayState replay;

// Once per frame while replaying: returns the letter of the entry that fires
// now ('S', 'H', 'J', 'K' or an option letter), or 0 when none fires. The
// caller assigns the four request flags from it. Ends the replay after the
// last entry.
char replayTick();

// Empties the journal and stops and rewinds any replay (level restart).
void resetJournalAndReplay();
