#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

#include "cell.h"
#include "clock.h"
#include "report_format.h"

// What the data part of a report says, in the game's own text
// (Windows-1252).
struct ReportData {
    std::string player;
    std::string map;
    int32_t counters[kCounterCount]{};
    bool reachedEnd = false;
};

// A report is written part by part in the order of its format
// (report_format.h): the grid, each sentence, the data, each step, the end.
// Errors stay in the stream's error flag for the caller to check once.
void writeReportGrid(std::FILE* out, const Grid& grid);
// The sentence as the log holds it, with its line end.
void writeReportSentence(std::FILE* out, Tick tick, const char* sentence);
void writeReportData(std::FILE* out, const ReportData& data);
void writeReportStep(std::FILE* out, Tick tick, int32_t row, int32_t col);
void writeReportEnd(std::FILE* out);
