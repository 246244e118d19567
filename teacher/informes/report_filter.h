#pragma once
#include <string>
#include <vector>

#include "report_reader.h"

// Which reports the teacher asked for: one child, one map, a span of days.
// An empty field lets every report through.
struct ReportFilter {
    std::string player;  // as the report names the child, capitals aside
    std::string map;     // as the report names the map, with or without ".quorvane"
    std::string from;    // first day kept, "YYYY-MM-DD" (local date, as the pages show it)
    std::string to;      // last day kept
};

// True for the options that set a filter: --jugador, --mapa, --desde, --hasta.
bool isFilterOption(const std::string& option);

// Sets the filter an option names. False with the reason, in Spanish, for a
// value that cannot be one (an empty name, a date that is not a day).
bool setFilter(ReportFilter& filter, const std::string& option, const std::string& value, std::string& reason);

// False with the reason when the span ends before it starts.
bool checkSpan(const ReportFilter& filter, std::string& reason);

// Whether a report passes. A report whose name no longer carries its date
// fails any span.
bool keeps(const ReportFilter& filter, const Report& report);

// The filter in words for the pages ("jugador ana, desde 2008-03-01"), empty
// without one.
std::string describe(const ReportFilter& filter);

// False with the reason, naming the children or maps the reports do hold,
// when the player or map asked for is in none of them: a misspelt name
// should not pass for a child who never played.
bool namesSomeReport(const ReportFilter& filter, const std::vector<Report>& reports, std::string& reason);
