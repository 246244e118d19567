#include "route_overlay.h"

#include "svg_grid.h"

std::string svgPolyline(const std::vector<GridPoint>& points, const char* cssClass, const char* colour,
                        bool dashed)
{
    if (points.empty())
        return {};
    std::string svg = "<polyline class=\"" + std::string(cssClass) + "\" fill=\"none\" stroke=\"" + colour +
                      "\" stroke-width=\"3\" stroke-opacity=\"0.7\" stroke-linejoin=\"round\"" +
                      (dashed ? " stroke-dasharray=\"5 4\"" : "") + " points=\"";
    for (const GridPoint& p : points)
        svg += std::to_string(squareX(p.col)) + "," + std::to_string(squareY(p.row)) + " ";
    svg.back() = '"';
    return svg + "/>\n";
}
