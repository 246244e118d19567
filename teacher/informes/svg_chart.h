#pragma once
#include <optional>
#include <string>
#include <vector>

// A line chart over days, drawn as inline SVG with its text alternative:
// one line per series, each with its least-squares trend, and vertical marks
// at chosen days.
struct ChartPoint {
    double day = 0;     // days since 1970, fractions for the time of day
    double value = 0;
    std::string label;  // the date as the page shows it
};
struct ChartSeries {
    std::string name;
    std::vector<ChartPoint> points;  // oldest first
};
struct ChartMark {
    double day = 0;
    std::string label;
};
struct Chart {
    std::string id;     // unique on the page, for the title and description
    std::string title;
    std::vector<ChartSeries> series;
    std::vector<ChartMark> marks;
    bool yesNo = false;  // values 0 and 1, labelled "no" and "sí"
    int digits = 2;      // decimals of the values in the texts
};

struct Trend {
    double slope = 0;      // change per day
    double intercept = 0;  // value at day 0
};
// The least-squares line through the points; none below two distinct days.
std::optional<Trend> leastSquares(const std::vector<ChartPoint>& points);

// The colour of a series (dark enough for text on white, 4.5:1 or more).
const char* seriesColour(size_t series);

// A <figure> with the SVG (role img, its title and a description of every
// series and trend), a caption saying the same in visible text, and the
// legend as a list.
std::string svgLineChart(const Chart& chart);
