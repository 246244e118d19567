#pragma once
#include <ctime>
#include <filesystem>
#include <vector>
#include <string>

class GameState;
struct Journal;

// Writes the statistics report of the level in play under "bd/" (created when
// missing). Returns false and writes nothing when fewer than two steps were
// taken. When bd/ cannot take it, returns false with error set: why, and
// where the report was written instead (the first of reportFallbackFolders
// that takes it), or that no folder could; an earlier report of the same
// name in bd/ is left as it was.
bool writeStatisticsReport(const GameState& game, const Journal& journal, const char* playerName,
                           std::string* error);

// Where a report goes when bd/ cannot take it: bd/ in the player's own data
// folder ($XDG_DATA_HOME/quorvane), then the system's temporary folder.
std::vector<std::filesystem::path> reportFallbackFolders();

// The 24-character time text of a moment in UTC, with English day and month
// names whatever the locale: "Mon Mar  3 09:07:02 2008".
std::string utcTimeText(std::time_t when);

// "bd/" + name + "_" + the time text with ':' and ' ' as '_' + ".db1". A name
// that would make the name and date part longer than 99 characters is cut
// to fit, in the file name only; a '/' in it becomes '_'.
std::string reportFileName(const char* playerName, std::time_t when);
