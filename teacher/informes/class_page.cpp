#include "class_page.h"

#include <algorithm>

#include "text.h"
#include "timeline_html.h"

namespace {
// Every map some child played, in name order.
std::vector<std::string> mapsOfClass(const std::vector<Child>& children)
{
    std::vector<std::string> maps;
    for (const Child& child : children)
        for (const std::string& map : mapsPlayed(child.levels))
            if (std::find(maps.begin(), maps.end(), map) == maps.end())
                maps.push_back(map);
    std::sort(maps.begin(), maps.end());
    return maps;
}

// A child's row for one map: the levels played and won there, and each
// figure's best and latest; empty when he never played it.
std::string childRow(const Child& child, const std::string& map)
{
    int levels = 0, won = 0;
    std::optional<double> best[std::size(kLevelFigures)], latest[std::size(kLevelFigures)];
    for (const PlayedLevel& level : child.levels) {
        if (level.report->map != map)
            continue;
        ++levels;
        won += level.measures.outcome == Outcome::Won;
        for (size_t f = 1; f < std::size(kLevelFigures); ++f)
            if (const auto value = kLevelFigures[f].of(level.measures)) {
                best[f] = best[f] ? std::min(*best[f], *value) : *value;
                latest[f] = value;
            }
    }
    if (levels == 0)
        return {};
    std::string html = "<tr><th scope=\"row\"><a href=\"" + htmlEscape(child.page) + "\">" +
                       htmlEscape(childName(child)) + "</a></th>" + numberCell(levels, 0) + numberCell(won, 0);
    for (size_t f = 1; f < std::size(kLevelFigures); ++f)
        html += numberCell(best[f], kLevelFigures[f].digits) + numberCell(latest[f], kLevelFigures[f].digits);
    return html + "</tr>\n";
}

// The table of one map, the m-th in the page.
std::string mapTable(const std::vector<Child>& children, const std::string& map, size_t m)
{
    std::string html = "<h2 id=\"mapa" + std::to_string(m + 1) + "\">" + htmlEscape(map) +
                       "</h2>\n<table>\n<thead><tr>" + headerCell("Jugador") + headerCell("Niveles") +
                       headerCell("Ganados");
    for (size_t f = 1; f < std::size(kLevelFigures); ++f)
        html += headerCell(std::string(kLevelFigures[f].column) + ", mejor") +
                headerCell(std::string(kLevelFigures[f].column) + ", último");
    html += "</tr></thead>\n<tbody>\n";
    for (const Child& child : children)
        html += childRow(child, map);
    return html + "</tbody>\n</table>\n";
}
}  // namespace

std::string classPage(const std::vector<Child>& children, const std::string& filter)
{
    const std::vector<std::string> maps = mapsOfClass(children);
    std::string html = timelinePageStart("La clase, mapa por mapa") + timelineNav() +
                       "<h1>La clase, mapa por mapa</h1>\n" + filterNote(filter) +
                       "<p class=\"nota\">Para cada medida, la mejor es la más baja de todos los niveles del niño en "
                       "ese mapa y la última la de su nivel más reciente; — es un dato que los informes no permiten "
                       "calcular.</p>\n";
    if (maps.empty())
        html += "<p>No hay informes.</p>\n";
    for (size_t m = 0; m < maps.size(); ++m)
        html += mapTable(children, maps[m], m);
    return html + kTimelinePageEnd;
}
