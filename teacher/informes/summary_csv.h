#pragma once
#include <string>
#include <vector>

#include "report_file.h"

// The header and one row per report, UTF-8, comma-separated, a point for
// decimals: what R's read.csv and a spreadsheet's import take as they are.
std::string csvHeader();
std::string csvRow(const Report& report);

// The report's date and time in the local time zone ("2008-03-03", "10:07:02"),
// empty when the file's name no longer carries it.
std::string localDate(const Report& report);
std::string localTime(const Report& report);
