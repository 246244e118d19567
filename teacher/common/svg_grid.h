#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "cell.h"

// How one square is drawn: its colour, a short label inside it, and the
// Spanish words a pointer or a screen reader gets for it.
struct SquareLook {
    const char* fill = "#ffffff";
    std::string label;
    std::string title;
};

// The looks of the two code sets: a map file's codes and the kinds of a
// level in play (a statistics report's grid).
SquareLook lookOfMapCode(int32_t code);
SquareLook lookOfKind(int32_t kind);

// Pixel centre of a square in the drawings below.
constexpr int kSquarePx = 22;
constexpr int kMarginPx = 24;
inline int squareX(int col) { return kMarginPx + col * kSquarePx + kSquarePx / 2; }
inline int squareY(int row) { return kMarginPx + row * kSquarePx + kSquarePx / 2; }

// The 30 by 30 grid as an SVG element, rows and columns numbered from 1 at
// the margins, with overlay (more SVG) drawn on top. label names the drawing
// for screen readers.
std::string svgGrid(const std::function<SquareLook(int row, int col)>& look, const std::string& label,
                    const std::string& overlay = {});

// The legend of the looks as an HTML list, for the pages that show a grid.
std::string htmlLegend(bool kinds);
