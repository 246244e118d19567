#include "child_page.h"

#include "summary_csv.h"
#include "text.h"
#include "timeline_html.h"

namespace {
std::string when(const Report& r)
{
    const std::string date = localDate(r);
    return date.empty() ? "sin fecha" : date + " " + localTime(r).substr(0, 5);
}

// The first and last levels of a map that carry the figure.
std::pair<std::optional<double>, std::optional<double>> firstAndLatest(const std::vector<PlayedLevel>& levels,
                                                                        const std::string& map,
                                                                        const LevelFigure& figure)
{
    std::optional<double> first, latest;
    for (const PlayedLevel& level : levels)
        if (level.report->map == map)
            if (const auto value = figure.of(level.measures)) {
                if (!first)
                    first = value;
                latest = value;
            }
    return {first, latest};
}

std::string summaryTable(const Child& child)
{
    std::string html = "<table>\n<caption>Cada mapa: niveles, ganados y las medidas del primer y del último "
                       "nivel</caption>\n<thead><tr>" + headerCell("Mapa") + headerCell("Niveles") +
                       headerCell("Ganados");
    for (size_t f = 1; f < std::size(kLevelFigures); ++f)
        html += headerCell(std::string(kLevelFigures[f].column) + ", primero") +
                headerCell(std::string(kLevelFigures[f].column) + ", último");
    html += "</tr></thead>\n<tbody>\n";
    for (const std::string& map : mapsPlayed(child.levels)) {
        int levels = 0, won = 0;
        for (const PlayedLevel& level : child.levels)
            if (level.report->map == map) {
                ++levels;
                won += level.measures.outcome == Outcome::Won;
            }
        html += "<tr><th scope=\"row\">" + htmlEscape(map) + "</th>" + numberCell(levels, 0) + numberCell(won, 0);
        for (size_t f = 1; f < std::size(kLevelFigures); ++f) {
            const auto [first, latest] = firstAndLatest(child.levels, map, kLevelFigures[f]);
            html += numberCell(first, kLevelFigures[f].digits) + numberCell(latest, kLevelFigures[f].digits);
        }
        html += "</tr>\n";
    }
    return html + "</tbody>\n</table>\n";
}

std::string settingsList(const Child& child)
{
    const std::vector<size_t> changes = settingsChanges(child.levels);
    if (changes.empty())
        return "";
    std::string html = "<h2>Cambios de ajustes del docente</h2>\n<ul>\n";
    for (size_t i : changes) {
        const PlayedLevel& level = child.levels[i];
        html += "<li>" + htmlEscape(when(*level.report)) + ", en " + htmlEscape(level.report->map) + ": " +
                htmlEscape(level.measures.settings) + "</li>\n";
    }
    return html + "</ul>\n";
}

std::string detail(const Child& child)
{
    std::string html = "<section class=\"detalle\">\n<h2>Cada nivel, mapa por mapa</h2>\n<p class=\"nota\">Esta parte "
                       "no se imprime; — es un dato que el informe no permite calcular.</p>\n";
    for (const std::string& map : mapsPlayed(child.levels)) {
        html += "<h3>" + htmlEscape(map) + "</h3>\n<table>\n<thead><tr>" + headerCell("Fecha y hora") +
                headerCell("Resultado");
        for (size_t f = 1; f < std::size(kLevelFigures); ++f)
            html += headerCell(kLevelFigures[f].column);
        html += headerCell("Ajustes") + headerCell("Informe") + "</tr></thead>\n<tbody>\n";
        for (const PlayedLevel& level : child.levels) {
            if (level.report->map != map)
                continue;
            html += "<tr><th scope=\"row\">" + htmlEscape(when(*level.report)) + "</th>" +
                    textCell(outcomeText(level.measures.outcome));
            for (size_t f = 1; f < std::size(kLevelFigures); ++f)
                html += numberCell(kLevelFigures[f].of(level.measures), kLevelFigures[f].digits);
            html += textCell(level.measures.settings.empty() ? "—" : htmlEscape(level.measures.settings)) +
                    textCell("<a href=\"" + htmlEscape(level.page) + "\">ver</a>") + "</tr>\n";
        }
        html += "</tbody>\n</table>\n";
    }
    return html + "</section>\n";
}
}

Chart childChart(const Child& child, const LevelFigure& figure, const std::string& id)
{
    Chart chart;
    chart.id = id;
    chart.title = figure.title;
    chart.yesNo = figure.yesNo;
    chart.digits = figure.digits;
    for (const std::string& map : mapsPlayed(child.levels)) {
        ChartSeries series{map, {}};
        for (const PlayedLevel& level : child.levels)
            if (level.report->map == map && level.report->written)
                if (const auto value = figure.of(level.measures))
                    series.points.push_back({dayOf(*level.report), *value, localDate(*level.report)});
        if (!series.points.empty())
            chart.series.push_back(std::move(series));
    }
    for (size_t i : settingsChanges(child.levels))
        if (child.levels[i].report->written)
            chart.marks.push_back({dayOf(*child.levels[i].report), localDate(*child.levels[i].report)});
    return chart;
}

std::string childPage(const Child& child, const std::string& filter)
{
    const std::string name = childName(child);
    std::string html = timelinePageStart("Progreso de " + name) + timelineNav() + "<h1>Progreso de " +
                       htmlEscape(name) + "</h1>\n";
    const std::vector<std::string> maps = mapsPlayed(child.levels);
    std::string first, last;
    int undated = 0;
    for (const PlayedLevel& level : child.levels) {
        const std::string date = localDate(*level.report);
        undated += date.empty();
        if (!date.empty() && (first.empty() || date < first))
            first = date;
        if (date > last)
            last = date;
    }
    html += "<p>" + std::to_string(child.levels.size()) + (child.levels.size() == 1 ? " nivel" : " niveles") + " en " +
            std::to_string(maps.size()) + (maps.size() == 1 ? " mapa" : " mapas") +
            (first.empty() ? "" : first == last ? ", el " + first : ", del " + first + " al " + last) + ".";
    if (undated > 0)
        html += " " + std::to_string(undated) + " sin fecha (el archivo cambió de nombre): están en las tablas, no en "
                "los gráficos.";
    html += "</p>\n" + filterNote(filter) + "<h2>Resumen por mapa</h2>\n" + summaryTable(child) + settingsList(child);
    html += "<h2>A lo largo del tiempo</h2>\n<div class=\"graficos\">\n";
    for (size_t f = 0; f < std::size(kLevelFigures); ++f) {
        const Chart chart = childChart(child, kLevelFigures[f], "g" + std::to_string(f));
        if (chart.series.empty())
            html += "<p class=\"nota\">" + htmlEscape(kLevelFigures[f].title) + ": sin datos en estos informes.</p>\n";
        else
            html += svgLineChart(chart);
    }
    return html + "</div>\n" + detail(child) + kTimelinePageEnd;
}
