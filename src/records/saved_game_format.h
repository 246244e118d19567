#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "cell.h"
#include "journal.h"

// A saved game as read from its file, before anything in play is touched:
// the level-start grid's kinds and the recorded actions.
struct SavedGameRecord {
    int32_t kinds[kGridSize][kGridSize]{};
    JournalEntry entries[kJournalSize]{};
    int32_t entryCount = 0;
};

// Writes the grid's kinds, then each journal entry as its tick (signed
// reading) and its letter on two lines, then "FIN" without a line end.
void writeSavedGame(std::FILE* out, const Grid& grid, const Journal& journal);

// Reads a whole saved game. False with a Spanish message in error when the
// file ends early, holds text where numbers or letters stand, a kind outside
// 0..19 or a tick outside 32 bits, or has no start square. Reading stops after
// 1000 entries even without "FIN".
// The text is the file's bytes held in memory; name is only for messages.
bool readSavedGame(std::string_view text, const std::string& name, SavedGameRecord& out, std::string* error);

// A tick line: an unsigned decimal, or a negative one down to -2147483648 that
// stands for the same 32 bits; blanks around it allowed.
bool parseTickLine(const char* line, Tick& tick);
