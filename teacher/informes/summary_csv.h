#pragma once
#include <string>
#include <vector>

#include "report_reader.h"

// How a table is written. The Spanish one is what a spreadsheet set to
// Spanish opens as it is by a double click: ';' between fields (',' is the
// decimal mark there), decimal commas, and a UTF-8 byte order mark, without
// which Excel reads the accents as Windows-1252. The point one is what R's
// read.csv, pandas and an English spreadsheet take: ',' between fields,
// decimal points and no mark (read.csv would keep it in the first name).
struct CsvStyle {
    char separator = ';';
    char decimal = ',';
    bool byteOrderMark = true;
};
inline constexpr CsvStyle kSpanishCsv{};
inline constexpr CsvStyle kPointCsv{',', '.', false};

// The summary: the header and one row per report (a level played). The
// byte order mark, when the style has one, is the file's to write first.
std::string csvHeader(const CsvStyle& style = kSpanishCsv);
std::string csvRow(const Report& report, const CsvStyle& style = kSpanishCsv);

// The events: the header and one row per step, shot, announcement and other
// sentence of a report, in the order they happened.
std::string eventsHeader(const CsvStyle& style = kSpanishCsv);
std::string eventRows(const Report& report, const CsvStyle& style = kSpanishCsv);
// The same rows appended to a table that holds the rows of other reports.
void appendEventRows(std::string& rows, const Report& report, const CsvStyle& style = kSpanishCsv);

// What every column of both tables holds, in Spanish, for a text file
// written beside them.
std::string columnGuide(const CsvStyle& style);

// Whether two reads are the same report (a file copied twice).
bool sameReport(const Report& a, const Report& b);

// The report's date and time in the local time zone ("2008-03-03", "10:07:02"),
// empty when the file's name no longer carries it.
std::string localDate(const Report& report);
std::string localTime(const Report& report);
