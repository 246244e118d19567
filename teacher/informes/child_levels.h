#pragma once
#include <optional>
#include <string>
#include <vector>

#include "report_reader.h"
#include "report_measures.h"

// A child's levels, read and measured once for every page that shows them.
struct PlayedLevel {
    const Report* report = nullptr;
    Measures measures;
    std::string page;  // file name of the report's own page
};
struct Child {
    std::string name;  // as the reports name him ("" when they do not)
    std::string page;  // file name of his page
    std::vector<PlayedLevel> levels;  // oldest first
};

// The levels grouped by child, children in name order, each child's levels in
// the order given (the caller's, oldest first).
std::vector<Child> groupByChild(const std::vector<PlayedLevel>& levels);

// The name a page shows for a child.
std::string childName(const Child& child);

// The positions in a child's levels where the teacher's settings changed:
// where a level's settings differ from the last ones known before it. A level
// whose settings are unknown ("") changes nothing.
std::vector<size_t> settingsChanges(const std::vector<PlayedLevel>& levels);

// The maps of the levels, in the order first played.
std::vector<std::string> mapsPlayed(const std::vector<PlayedLevel>& levels);

// Days since 1970 (UTC, with the time of day as a fraction), for the charts.
double dayOf(const Report& report);

// The figures followed over time, each read from a level's measures (none
// when the level lacks it: no route, no steps, no reaction measured).
struct LevelFigure {
    const char* title;   // of its chart
    const char* column;  // of its table column
    int digits;
    bool yesNo;          // 1 = sí, 0 = no
    std::optional<double> (*of)(const Measures&);
};
extern const LevelFigure kLevelFigures[4];  // won, steps / fewest, errors per ten, reaction
