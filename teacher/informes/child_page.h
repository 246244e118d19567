#pragma once
#include <string>

#include "child_levels.h"
#include "svg_chart.h"

// The chart of one figure over a child's levels: a line per map, the levels
// without a date or without the figure left out, and a mark where the
// teacher's settings changed.
Chart childChart(const Child& child, const LevelFigure& figure, const std::string& id);

// A child's page: his maps with their first and latest figures, the changes
// of settings, a chart per figure, and (on screen) every level map by map
// with a link to its report's page. `filter` names the filter the pages were
// written with ("" without one).
std::string childPage(const Child& child, const std::string& filter);
