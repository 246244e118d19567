#pragma once
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
    // The file's name and extension only, at most 99 characters; every
    // chosen file is opened by that name relative to the working directory.
    char mapFileName[kFileTitleSize]{};
    char loadFileName[kFileTitleSize]{};
    char saveFileName[kFileTitleSize]{};
};

// Empties the journal and stops and rewinds any replay (level restart, change
// of map): both belong to the level just left.
void resetJournalAndReplay(Session& session);
