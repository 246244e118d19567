#pragma once
#include <cstdint>

#include "clock.h"

// Every action the player takes, in order, with its tick: what a saved game
// carries and replays, and what the report measures the playing time from.
struct JournalEntry {
    char key = 0;  // S, H, J, K (steps and side actions) or E, Q, R, W (options)
    Tick tick = 0;
};

constexpr int kJournalSize = 1000;

struct Journal {
    JournalEntry entries[kJournalSize]{};
    int32_t journalCount = 0;
};

// Appends {key, now}. A full journal keeps its first 1000 actions and drops
// later ones, so a saved game always holds the start of the level.
void recordAction(Journal& journal, char key, Tick now);
void clearJournal(Journal& journal);
