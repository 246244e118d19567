#include "route_overlay.h"

#include "svg_grid.h"
#include "text.h"

namespace {
std::string stroke(const char* colour, bool dashed)
{
    return std::string(" fill=\"none\" stroke=\"") + colour +
           "\" stroke-width=\"3\" stroke-opacity=\"0.7\" stroke-linejoin=\"round\"" +
           (dashed ? " stroke-dasharray=\"5 4\"" : "");
}
}

std::string svgPolyline(const GridFrame& frame, const std::vector<GridPoint>& points, const char* cssClass,
                        const char* colour, bool dashed)
{
    if (points.empty())
        return {};
    std::string svg = "<polyline class=\"" + std::string(cssClass) + "\"" + stroke(colour, dashed) + " points=\"";
    for (const GridPoint& p : points)
        appendAll(svg, frame.x(p.col), ",", frame.y(p.row), " ");
    svg.back() = '"';
    return svg + "/>\n";
}

std::string svgPolyline(const std::vector<GridPoint>& points, const char* cssClass, const char* colour,
                        bool dashed)
{
    return svgPolyline(GridFrame{}, points, cssClass, colour, dashed);
}

std::string polylineSample(const char* colour, bool dashed)
{
    return "<polyline" + stroke(colour, dashed) + " points=\"0,10 20,10\"/>";
}
