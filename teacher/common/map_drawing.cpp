#include "map_drawing.h"

#include "route_overlay.h"
#include "svg_grid.h"
#include "text.h"

namespace {
constexpr const char* kRouteColour = "#1155cc";
constexpr const char* kRingColour = "#d00000";

bool wasRead(const MapText& text, int r, int c) { return r < text.rowsRead && c < text.numbersRead[r]; }

// The square a warning is about: the one whose code stands where it is
// placed (line and column in the file). Errors are placed where the reading
// stopped, which may be a square's place without being about it; a code
// that does not exist shows as such.
bool squareOf(const MapText& text, const MapFinding& finding, int& row, int& col)
{
    if (finding.place.line == 0 || finding.severity != MapFinding::Severity::Warning)
        return false;
    for (int r = 0; r < text.rowsRead; ++r)
        for (int c = 0; c < text.numbersRead[r]; ++c)
            if (text.places[r][c].line == finding.place.line && text.places[r][c].column == finding.place.column) {
                row = r;
                col = c;
                return true;
            }
    return false;
}

// The maze, the first square the reading did not reach and every ringed
// square are in view.
GridFrame mapFrame(const MapText& text, const MapCheck& check)
{
    bool ringed[kGridSize][kGridSize]{};
    for (const MapFinding& finding : check.findings)
        if (int r = 0, c = 0; squareOf(text, finding, r, c))
            ringed[r][c] = true;
    int unreadRow = -1, unreadCol = -1;
    for (int r = 0; r < kGridSize && unreadRow < 0; ++r)
        for (int c = 0; c < kGridSize && unreadRow < 0; ++c)
            if (!wasRead(text, r, c)) {
                unreadRow = r;
                unreadCol = c;
            }
    return frameAround(
        [&](int r, int c) {
            return ringed[r][c] || (r == unreadRow && c == unreadCol) || (wasRead(text, r, c) && text.codes[r][c] != 0);
        },
        28);
}

void drawRoute(const GridFrame& frame, const Route& route, std::string& overlay, std::vector<LegendEntry>& legend)
{
    std::vector<GridPoint> points;
    for (const RouteStep& step : route.steps)
        points.push_back({step.row, step.col});
    if (!route.steps.empty()) {
        // The last advance lands on the exit.
        const RouteStep& last = route.steps.back();
        int r = last.row, c = last.col;
        squareAhead(last.row, last.col, last.facing, r, c);
        points.push_back({r, c});
    }
    overlay += svgPolyline(frame, points, "camino-mas-corto", kRouteColour, true);
    legend.push_back({polylineSample(kRouteColour, true),
                      "camino más corto (" + std::to_string(route.advances) + " pasos)"});
}

// A ring, titled with the warning, round each square a warning is about.
void drawRings(const GridFrame& frame, const MapText& text, const MapCheck& check, std::string& overlay,
               std::vector<LegendEntry>& legend)
{
    bool anyRing = false;
    for (const MapFinding& finding : check.findings) {
        int r = 0, c = 0;
        if (!squareOf(text, finding, r, c) || !frame.shows(r, c))
            continue;
        anyRing = true;
        overlay += "<circle class=\"aviso\" cx=\"" + std::to_string(frame.x(c)) + "\" cy=\"" +
                   std::to_string(frame.y(r)) + "\" r=\"" + std::to_string(frame.squarePx * 9 / 20) +
                   "\" fill=\"none\" stroke=\"" + kRingColour + "\" stroke-width=\"2.5\"><title>" +
                   htmlEscape(finding.text) + "</title></circle>\n";
    }
    if (anyRing)
        legend.push_back({std::string("<circle cx=\"10\" cy=\"10\" r=\"8\" fill=\"none\" stroke=\"") + kRingColour +
                              "\" stroke-width=\"2.5\"/>",
                          "aviso del revisor sobre esa casilla"});
}
}

std::string drawMap(const std::string& title, const MapText& text, const MapCheck& check)
{
    const GridFrame frame = mapFrame(text, check);
    std::string overlay;
    std::vector<LegendEntry> legend;
    if (check.route)
        drawRoute(frame, *check.route, overlay, legend);
    drawRings(frame, text, check, overlay, legend);
    const std::string svg = svgGrid(
        frame, [&](int r, int c) { return wasRead(text, r, c) ? lookOfMapCode(text.codes[r][c]) : lookUnread(); },
        "Mapa " + title + (check.loads ? "" : " (no se carga; dibujado hasta donde se leyó)"), overlay, legend);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + svg;
}
