#pragma once
#include <string>

#include "report_format.h"

class GameState;
struct Journal;

// Writes the statistics report of the level in play under "bd/" of the game's
// folder (created private when missing). Returns false and writes nothing when fewer than two
// steps were taken. A report never replaces another: when the name is taken
// (two levels ended in one second, two games of one player), the report is
// written as "<name>-2.db1", "-3", ... When bd/ cannot take it, returns false
// with error set: why, and where the report was written instead (bd/ in the
// user's own folder, else a private folder: $XDG_RUNTIME_DIR/quorvane or one
// made in the temporary folder, mode 0700), or that no folder could.
bool writeStatisticsReport(const GameState& game, const Journal& journal, const char* playerName,
                           std::string* error);
