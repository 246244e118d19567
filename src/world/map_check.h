#pragma once
#include <optional>
#include <string>
#include <vector>

#include "map_file.h"
#include "map_route.h"

// What a teacher needs to know of a map he wrote, each with its place in
// the file: errors the game refuses the map for, warnings of what stops a
// player from winning, and notes of what the game reads past or leaves to
// chance.
struct MapFinding {
    enum class Severity { Error, Warning, Note };
    Severity severity = Severity::Error;
    MapPlace place;
    std::string text;
};

struct MapCheck {
    std::vector<MapFinding> findings;
    bool loads = false;
    // The exit can be reached from the start square with the game's moves.
    bool reachable = false;
    std::optional<Route> route;  // the shortest, when there is one
};

// Checks a map read by readMapText.
MapCheck checkMap(const MapText& map);

// "nivel2.quorvane:12:7: aviso: ..." (without the place when the finding is
// about the whole file).
std::string formatFinding(const std::string& name, const MapFinding& finding);
