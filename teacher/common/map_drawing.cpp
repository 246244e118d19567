#include "map_drawing.h"

#include "route_overlay.h"
#include "svg_grid.h"
#include "text.h"

std::string drawMap(const std::string& title, const MapText& text, const MapCheck& check)
{
    std::string overlay;
    if (check.route) {
        std::vector<GridPoint> points;
        for (const RouteStep& step : check.route->steps)
            points.push_back({step.row, step.col});
        if (!check.route->steps.empty()) {
            // The last advance lands on the exit.
            const RouteStep& last = check.route->steps.back();
            int r = last.row, c = last.col;
            squareAhead(last.row, last.col, last.facing, r, c);
            points.push_back({r, c});
        }
        overlay += svgPolyline(points, "camino-mas-corto", "#1155cc", true);
    }
    // Findings are placed by file line and column; a square is ringed when
    // its code stands there.
    for (const MapFinding& finding : check.findings) {
        if (finding.severity != MapFinding::Severity::Warning || finding.place.line == 0)
            continue;
        for (int r = 0; r < kGridSize; ++r)
            for (int c = 0; c < kGridSize; ++c)
                if (text.places[r][c].line == finding.place.line && text.places[r][c].column == finding.place.column)
                    overlay += "<circle class=\"aviso\" cx=\"" + std::to_string(squareX(c)) + "\" cy=\"" +
                               std::to_string(squareY(r)) + "\" r=\"10\" fill=\"none\" stroke=\"#ff0000\" "
                               "stroke-width=\"2.5\"><title>" + htmlEscape(finding.text) + "</title></circle>\n";
    }
    const std::string svg =
        svgGrid([&](int r, int c) { return lookOfMapCode(text.codes[r][c]); }, "Mapa " + title, overlay);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + svg;
}
