#pragma once
#include <string>

#include "map_check.h"

// A map as an SVG file of its own: its squares by code, the shortest route
// dashed, and a ring on every square a warning names.
std::string drawMap(const std::string& title, const MapText& text, const MapCheck& check);
