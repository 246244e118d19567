// The game's report reader, as quorvane-informes uses it, on arbitrary
// bytes handed over in memory (no file per input), then everything its
// table rows and its page compute from a report that was taken.
#include <algorithm>
#include <string_view>

#include "report_reader.h"
#include "report_page.h"
#include "summary_csv.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Report report;
    std::string reason;
    if (!parseReport(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.db1", report, reason)) {
        if (reason.empty())
            __builtin_trap();  // a refused file is always named with its reason
        return 0;
    }
    // One buffer for every page, as a caller writing many pages keeps it.
    static std::string page;
    page.clear();
    appendReportPage(page, report);
    if (csvRow(report).empty() || page.find("</html>") == std::string::npos)
        __builtin_trap();
    // Every step and sentence of a report read is a row of the events table.
    static std::string events;
    events.clear();
    appendEventRows(events, report, kPointCsv);
    if (static_cast<size_t>(std::count(events.begin(), events.end(), '\n')) < report.path.size())
        __builtin_trap();
    return 0;
}
