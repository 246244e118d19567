#pragma once
#include <string>
#include <vector>

// A line through the centres of the squares (row, col) given, as SVG.
struct GridPoint {
    int row = 0;
    int col = 0;
};
std::string svgPolyline(const std::vector<GridPoint>& points, const char* cssClass, const char* colour,
                        bool dashed);
