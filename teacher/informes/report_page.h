#pragma once
#include <string>
#include <vector>

#include "report_reader.h"

// One self-contained HTML page for a report (styles and the SVG inline, no
// script, nothing fetched): the summary, the counters, the measures, the
// grid with the numbered path and the errors where they happened, the
// sentences with their time, and the path as a table.
std::string reportPage(const Report& report);
// The same page appended to html: a caller that writes many pages keeps one
// buffer for them all instead of a new one of some hundred kilobytes each.
void appendReportPage(std::string& html, const Report& report);

// A file that could not be read, and why.
struct Refused {
    std::string file;
    std::string reason;
};
// The page name for a report file: its name with .html, in letters, digits,
// '.', '-' and '_' only.
std::string pageName(const std::string& reportFile);
