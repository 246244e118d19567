#include <cstdio>
#include <cstring>

#include "report_format.h"

namespace {
const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// The name and date part, as the report's name gives it, fits in 99
// characters; the date takes 25 of them with its separator.
constexpr size_t kNameDateLimit = 99;
}

std::string utcTimeText(std::time_t when)
{
    std::tm utc{};
    if (!::gmtime_r(&when, &utc))
        return "Thu Jan  1 00:00:00 1970";
    const int wday = utc.tm_wday >= 0 && utc.tm_wday < 7 ? utc.tm_wday : 0;
    const int mon = utc.tm_mon >= 0 && utc.tm_mon < 12 ? utc.tm_mon : 0;
    char text[64];
    std::snprintf(text, sizeof text, "%s %s %2d %02d:%02d:%02d %d", kDays[wday], kMonths[mon],
                  utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, utc.tm_year + 1900);
    return text;
}

std::string reportFileName(const char* playerName, std::time_t when)
{
    std::string date = utcTimeText(when);
    for (char& ch : date)
        if (ch == ':' || ch == ' ')
            ch = '_';

    const size_t room = kNameDateLimit > date.size() + 1 ? kNameDateLimit - date.size() - 1 : 0;
    const std::string typed = playerName ? std::string(playerName, ::strnlen(playerName, room)) : "";
    // The name is Windows-1252 (ñ, á...); the file's name is UTF-8, as the
    // file system shows it, and keeps within the same room.
    std::string name;
    for (const char ch : typed) {
        const auto byte = static_cast<unsigned char>(ch);
        std::string piece(1, ch == '/' ? '_' : ch);
        if (byte >= 0xA0)
            piece = {static_cast<char>(0xC0 | (byte >> 6)), static_cast<char>(0x80 | (byte & 0x3F))};
        else if (byte >= 0x80)
            piece = "_";
        if (name.size() + piece.size() > room)
            break;
        name += piece;
    }
    return "bd/" + name + "_" + date + report_format::kFileSuffix;
}

namespace {
// "Mon Mar  3 09:07:02 2008" as the moment it names, or empty.
std::optional<std::time_t> timeFromText(const std::string& date)
{
    char day[4] = {}, month[4] = {};
    int mday = 0, hour = 0, minute = 0, second = 0, year = 0;
    if (std::sscanf(date.c_str(), "%3s %3s %d %d %d %d %d", day, month, &mday, &hour, &minute, &second, &year) != 7)
        return std::nullopt;
    std::tm utc{};
    utc.tm_mon = -1;
    for (int m = 0; m < 12; ++m)
        if (std::strcmp(month, kMonths[m]) == 0)
            utc.tm_mon = m;
    if (utc.tm_mon < 0 || mday < 1 || mday > 31 || hour > 23 || minute > 59 || second > 60 || year < 1970)
        return std::nullopt;
    utc.tm_mday = mday;
    utc.tm_hour = hour;
    utc.tm_min = minute;
    utc.tm_sec = second;
    utc.tm_year = year - 1900;
    return ::timegm(&utc);
}
}

std::optional<std::time_t> timeFromReportName(const std::string& fileName)
{
    // "_Mon_Mar__3_09_07_02_2008.db1": the 24 characters of the time text.
    const std::string suffix = report_format::kFileSuffix;
    if (fileName.size() < 24 + suffix.size() ||
        fileName.compare(fileName.size() - suffix.size(), suffix.size(), suffix) != 0)
        return std::nullopt;
    // Reports of one player within one second are kept as "..._2008-2.db1",
    // "-3", ... "-12": the number is not part of the time.
    const size_t stemEnd = fileName.size() - suffix.size();
    const size_t mark = fileName.find_last_not_of("0123456789", stemEnd - 1);
    const size_t dateEnd = mark != std::string::npos && fileName[mark] == '-' && mark + 1 < stemEnd ? mark : stemEnd;
    if (dateEnd < 24)
        return std::nullopt;
    std::string date = fileName.substr(dateEnd - 24, 24);
    for (char& ch : date)
        if (ch == '_')
            ch = ' ';
    return timeFromText(date);
}
