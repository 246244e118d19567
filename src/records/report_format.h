#pragma once
#include <cstddef>
#include <ctime>
#include <optional>
#include <string>

#include "game_state.h"

// The statistics report (.db1) a level leaves: text lines, each ending in
// "\n" but the last, in Windows-1252 (game_text.h):
//   the 30 rows of the level-start grid's kinds, one space between values;
//   for each sentence of the level's log: its tick, then the sentence;
//   kDataLabel, kNameLabel, the player, kMapLabel, the map;
//   for each counter up to kLastCounterBeforeSuccess: its label, its value;
//   kSuccessLabel, then kYes or kNo: whether the last step reached the end;
//   the other counters, in their order, the same way;
//   kPathLabel, then for each step: its tick, its row, its column;
//   kEndLine.
// Ticks are written as the signed reading of their 32 bits. The writer
// (report_writer.h) and the reader (report_reader.h) both follow this.
namespace report_format {
inline constexpr const char* kDataLabel = "DATOS :";
inline constexpr const char* kNameLabel = "Nombre :";
inline constexpr const char* kMapLabel = "Mapa :";
inline constexpr const char* kSuccessLabel = "Juego Exitoso :";
inline constexpr const char* kYes = "S\xED";  // 0xED: an accented i
inline constexpr const char* kNo = "No";
inline constexpr const char* kPathLabel = "Camino Avanzado :";
inline constexpr const char* kEndLine = "FIN";
// The end of every report's file name (reportFileName below).
inline constexpr const char* kFileSuffix = ".db1";

// The game keeps a level's first kHistorySize sentences and, before them,
// the line of the settings the level started with; and its first kPathSize
// steps. A file much larger than that is not a report, and is not read into
// memory whole.
inline constexpr size_t kMostSentences = kHistorySize + 1;
inline constexpr size_t kMostSteps = kPathSize;
inline constexpr size_t kLargestReport = 4 << 20;
}  // namespace report_format

// The counters in the order the report gives them.
enum Counter {
    PlayingSeconds,
    MissedShots,
    MissedAtMonsters,
    MissedAtMutants,
    MissedAtSuperMonsters,
    MissedInCorridor,
    WallBumps,
    StepsWithMonster,
    DoorBumps,
    BulletGrabErrors,
    StepCount,
    FinalBullets,
    kCounterCount
};
inline constexpr Counter kLastCounterBeforeSuccess = BulletGrabErrors;

// A counter's label, as the report writes it (Windows-1252).
const char* reportLabel(Counter counter);

// The 24-character time text of a moment in UTC, with English day and month
// names whatever the locale: "Mon Mar  3 09:07:02 2008".
std::string utcTimeText(std::time_t when);

// "bd/" + name + "_" + the time text with ':' and ' ' as '_' + ".db1". A name
// that would make the name and date part longer than 99 characters is cut
// to fit, in the file name only; a '/' in it becomes '_'.
std::string reportFileName(const char* playerName, std::time_t when);

// The time in the name "<player>_Mon_Mar__3_09_07_02_2008.db1" (or
// "..._2008-2.db1", a second report of that second); empty for a name the
// game did not give.
std::optional<std::time_t> timeFromReportName(const std::string& fileName);
