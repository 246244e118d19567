#include "report_filter.h"

#include <cctype>
#include <set>

#include "summary_csv.h"

namespace {
bool sameLetters(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string withoutExtension(const std::string& map)
{
    const std::string ext = ".quorvane";
    if (map.size() > ext.size() && sameLetters(map.substr(map.size() - ext.size()), ext))
        return map.substr(0, map.size() - ext.size());
    return map;
}

// "YYYY-MM-DD" naming a day of the calendar.
bool isDay(const std::string& text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return false;
    const int year = std::stoi(text.substr(0, 4)), month = std::stoi(text.substr(5, 2)),
              day = std::stoi(text.substr(8, 2));
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1)
        return false;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}
}

bool isFilterOption(const std::string& option)
{
    return option == "--jugador" || option == "--mapa" || option == "--desde" || option == "--hasta";
}

bool setFilter(ReportFilter& filter, const std::string& option, const std::string& value, std::string& reason)
{
    if (option == "--jugador" || option == "--mapa") {
        if (value.find_first_not_of(" \t") == std::string::npos) {
            reason = option + " necesita un nombre (" + (option == "--jugador" ? "el del niño, como en el informe" : "el del mapa, como en el informe") + ").";
            return false;
        }
        (option == "--jugador" ? filter.player : filter.map) = value;
        return true;
    }
    if (!isDay(value)) {
        reason = option + " \"" + value + "\" no es una fecha: se escribe año-mes-día, por ejemplo 2024-03-15.";
        return false;
    }
    (option == "--desde" ? filter.from : filter.to) = value;
    return true;
}

bool checkSpan(const ReportFilter& filter, std::string& reason)
{
    // Days written YYYY-MM-DD sort as their text.
    if (!filter.from.empty() && !filter.to.empty() && filter.to < filter.from) {
        reason = "--hasta " + filter.to + " es anterior a --desde " + filter.from + ": no queda ningún día.";
        return false;
    }
    return true;
}

bool keeps(const ReportFilter& filter, const Report& report)
{
    if (!filter.player.empty() && !sameLetters(filter.player, report.player))
        return false;
    if (!filter.map.empty() && !sameLetters(withoutExtension(filter.map), withoutExtension(report.map)))
        return false;
    if (filter.from.empty() && filter.to.empty())
        return true;
    const std::string day = localDate(report);
    return !day.empty() && (filter.from.empty() || day >= filter.from) && (filter.to.empty() || day <= filter.to);
}

std::string describe(const ReportFilter& filter)
{
    std::string text;
    auto add = [&](const char* what, const std::string& value) {
        if (!value.empty())
            text += (text.empty() ? "" : ", ") + std::string(what) + " " + value;
    };
    add("jugador", filter.player);
    add("mapa", filter.map);
    add("desde", filter.from);
    add("hasta", filter.to);
    return text;
}

bool namesSomeReport(const ReportFilter& filter, const std::vector<Report>& reports, std::string& reason)
{
    if (reports.empty())
        return true;
    ReportFilter onlyPlayer, onlyMap;
    onlyPlayer.player = filter.player;
    onlyMap.map = filter.map;
    auto check = [&](const std::string& asked, const ReportFilter& only, const char* option, const char* what,
                     auto field) {
        if (asked.empty())
            return true;
        std::set<std::string> held;
        for (const Report& r : reports) {
            if (keeps(only, r))
                return true;
            held.insert(field(r));
        }
        reason = std::string(option) + " \"" + asked + "\": ningún informe es de ese " + what + ". En los informes hay:";
        for (const std::string& name : held)
            reason += " \"" + name + "\"";
        reason += ".";
        return false;
    };
    return check(filter.player, onlyPlayer, "--jugador", "jugador", [](const Report& r) { return r.player; }) &&
           check(filter.map, onlyMap, "--mapa", "mapa", [](const Report& r) { return r.map; });
}
