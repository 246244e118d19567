#include <cstdio>
#include <cstring>

#include "report.h"

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
    return "bd/" + name + "_" + date + ".db1";
}
