#pragma once
#include <string>

#include "clock.h"
#include "file_chooser.h"
#include "journal.h"
#include "replay.h"

// What the game keeps beside the level in play and the input state: the
// clock every time is read from, the journal of the player's actions, the
// replay of a loaded game and the names last chosen in the file dialogs. The
// shell owns one for the program's life and passes it down; tests and
// fuzzers make their own, so nothing of one run leaks into the next.
struct Session {
    explicit Session(const Clock& clock = systemClock()) : clock(clock) {}
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    const Clock& clock;
    Journal journal;
    ReplayState replay;
    // The chosen files as the dialogs handed them back: a bare name is in
    // the game folder, anything else keeps its folder.
    std::string mapFileName;
    std::string loadFileName;
    std::string saveFileName;
    // The level (GameState::levelSerial) whose report is written; 0: none.
    uint32_t reportedLevel = 0;
};

// Empties the journal and stops and rewinds any replay (level restart, change
// of map): both belong to the level just left.
void resetJournalAndReplay(Session& session);
