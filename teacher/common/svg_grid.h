#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "cell.h"

// How one square is drawn: its colour, a short label inside it, and the
// Spanish words a pointer or a screen reader gets for it.
// Every look is one of the tables' own, so it holds their texts without
// copying them (a drawing asks for the look of every square).
struct SquareLook {
    const char* fill = "#ffffff";
    const char* label = "";
    const char* title = "";
};

// The looks of the two code sets: a map file's codes and the kinds of a
// level in play (a statistics report's grid).
SquareLook lookOfMapCode(int32_t code);
SquareLook lookOfKind(int32_t kind);
// A square of a map file the reading never reached.
SquareLook lookUnread();

// The contrast of two "#rrggbb" colours as the accessibility guidelines
// reckon it (1 to 21), and the ink, black or white, that reads best on a fill
// (at least 4.5:1 on any fill).
double contrastRatio(const char* a, const char* b);
const char* inkOn(const char* fill);

// Which part of the 30 by 30 grid a drawing shows, and how big: the rows and
// columns from top/left to bottom/right, numbered from 1 at the margins.
struct GridFrame {
    int top = 0;
    int left = 0;
    int bottom = kGridSize - 1;
    int right = kGridSize - 1;
    int squarePx = 22;
    // Labels in the upper part of their squares, leaving the lower part to
    // what a drawing puts over them (the steps of a report).
    bool labelsHigh = false;

    static constexpr int kMarginPx = 24;
    bool shows(int row, int col) const { return row >= top && row <= bottom && col >= left && col <= right; }
    // Pixel centre of a square.
    int x(int col) const { return kMarginPx + (col - left) * squarePx + squarePx / 2; }
    int y(int row) const { return kMarginPx + (row - top) * squarePx + squarePx / 2; }
    int width() const { return 2 * kMarginPx + (right - left + 1) * squarePx; }
    int height() const { return 2 * kMarginPx + (bottom - top + 1) * squarePx; }
};

// The frame around every square wanted(row, col) names, with one square of
// margin, so that the drawing shows the maze and not the empty grid round
// it. With no square wanted, the grid's top left corner.
GridFrame frameAround(const std::function<bool(int row, int col)>& wanted, int squarePx);

// One line of a drawing's legend: sample is SVG drawn in a 20 by 20 box at
// the origin, text what it means.
struct LegendEntry {
    std::string sample;
    std::string text;
};

// The squares in frame as an SVG element, with overlay (more SVG) drawn on
// top and, below, a legend of every look the squares show followed by
// extra. label names the drawing for screen readers.
std::string svgGrid(const GridFrame& frame, const std::function<SquareLook(int row, int col)>& look,
                    const std::string& label, const std::string& overlay,
                    const std::vector<LegendEntry>& extra);
// The same drawing appended to out, without a copy of its own; overlay
// appends its SVG to out in turn.
void appendSvgGrid(std::string& out, const GridFrame& frame, const std::function<SquareLook(int row, int col)>& look,
                   const std::string& label, const std::function<void(std::string& out)>& overlay,
                   const std::vector<LegendEntry>& extra);

// The whole grid at the default size (the frame GridFrame{}), drawn as above.
constexpr int kSquarePx = 22;
constexpr int kMarginPx = GridFrame::kMarginPx;
inline int squareX(int col) { return GridFrame{}.x(col); }
inline int squareY(int row) { return GridFrame{}.y(row); }
std::string svgGrid(const std::function<SquareLook(int row, int col)>& look, const std::string& label,
                    const std::string& overlay = {});

// The legend of the looks as an HTML list, for the pages that show a grid.
std::string htmlLegend(bool kinds);

// Text drawn over lines keeps its contrast: a halo of the colour under it.
std::string haloOf(const char* fill);
void appendHalo(std::string& out, const char* fill);
