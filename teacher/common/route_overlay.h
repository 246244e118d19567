#pragma once
#include <string>
#include <vector>

struct GridFrame;

// A line through the centres of the squares (row, col) given, as SVG.
struct GridPoint {
    int row = 0;
    int col = 0;
};
std::string svgPolyline(const GridFrame& frame, const std::vector<GridPoint>& points, const char* cssClass,
                        const char* colour, bool dashed);
// The same on the whole grid at the default size.
std::string svgPolyline(const std::vector<GridPoint>& points, const char* cssClass, const char* colour,
                        bool dashed);

// The sample of such a line for a legend.
std::string polylineSample(const char* colour, bool dashed);
