#pragma once
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cell.h"
#include "clock.h"

// One statistics report (.db1) as the game wrote it, its texts in UTF-8.
struct ReportSentence {
    Tick tick = 0;
    std::string text;  // without its line end
};

struct ReportStep {
    Tick tick = 0;
    int32_t row = 0;
    int32_t col = 0;
};

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

struct Report {
    std::string file;  // as it was named to the tool
    int32_t kinds[kGridSize][kGridSize]{};
    std::vector<ReportSentence> sentences;
    std::string player;
    std::string map;
    int32_t counters[kCounterCount]{};
    bool reachedEnd = false;
    std::vector<ReportStep> path;
    // When it was written, from the file's name (the game names reports after
    // the UTC time); empty when the name has been changed.
    std::optional<std::time_t> written;
};

// The Spanish label of a counter, as in the report, and a short name for a
// table's column.
const char* counterLabel(Counter counter);
const char* counterColumn(Counter counter);

// Reads a report. False with the reason (in Spanish, with the line where the
// file stops being a report) for a damaged or foreign file.
bool readReport(const std::string& path, Report& out, std::string& reason);
// The same on a report's bytes already in memory; name stands for the file.
bool parseReport(std::string_view bytes, const std::string& name, Report& out, std::string& reason);

// The time in the name "<player>_Mon_Mar__3_09_07_02_2008.db1".
std::optional<std::time_t> timeFromReportName(const std::string& fileName);
