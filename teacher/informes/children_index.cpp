#include "children_index.h"

#include <cmath>

#include "summary_csv.h"
#include "text.h"
#include "timeline_html.h"

std::string childrenIndex(const std::vector<Child>& children, const std::vector<Refused>& refused,
                          const std::string& filter)
{
    std::string html = timelinePageStart("Informes de Quorvane") + "<h1>Informes de Quorvane</h1>\n" +
                       filterNote(filter) +
                       "<p><a href=\"clase.html\">La clase, mapa por mapa</a>: cada niño en cada mapa, lado a "
                       "lado.</p>\n";
    if (children.empty())
        html += "<p>No hay informes.</p>\n";
    for (const Child& child : children) {
        const std::string name = childName(child);
        html += "<h2><a href=\"" + htmlEscape(child.page) + "\">" + htmlEscape(name) + "</a></h2>\n<table>\n<caption>" +
                "Niveles de " + htmlEscape(name) + " (" + std::to_string(child.levels.size()) +
                ")</caption>\n<thead><tr>" + headerCell("Fecha y hora") + headerCell("Mapa") +
                headerCell("Resultado") + headerCell("Pasos") + headerCell("Camino más corto") +
                headerCell("Errores cada 10 pasos") + "</tr></thead>\n<tbody>\n";
        for (const PlayedLevel& level : child.levels) {
            const Report& r = *level.report;
            const std::string date = localDate(r).empty() ? "sin fecha" : localDate(r) + " " + localTime(r);
            const Measures& m = level.measures;
            html += "<tr><th scope=\"row\"><a href=\"" + htmlEscape(level.page) + "\">" + date + "</a></th>" +
                    textCell(htmlEscape(r.map)) + textCell(outcomeText(m.outcome)) +
                    numberCell(r.counters[StepCount], 0) +
                    numberCell(m.shortest ? std::optional<double>(*m.shortest) : std::nullopt, 0) +
                    numberCell(std::isfinite(m.errorsPerTen) ? std::optional<double>(m.errorsPerTen) : std::nullopt, 2) +
                    "</tr>\n";
        }
        html += "</tbody>\n</table>\n";
    }
    if (!refused.empty()) {
        html += "<h2>Archivos que no se pudieron leer</h2>\n<ul>\n";
        for (const Refused& f : refused)
            html += "<li>" + htmlEscape(utf8FromGameText(f.file)) + ": " + htmlEscape(f.reason) + "</li>\n";
        html += "</ul>\n";
    }
    return html + kTimelinePageEnd;
}
