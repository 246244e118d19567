#pragma once
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cell.h"
#include "clock.h"
#include "report_format.h"

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

struct Report {
    std::string file;  // as it was named to the reader
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

// Reads a report. False with the reason (in Spanish, with the line where the
// file stops being a report) for a damaged or foreign file.
bool readReport(const std::string& path, Report& out, std::string& reason);
// The same on a report's bytes already in memory; name stands for the file.
bool parseReport(std::string_view bytes, const std::string& name, Report& out, std::string& reason);
