#pragma once
#include <string>

#include "map_check.h"

// A map as an SVG file of its own, cropped to its maze: its squares by code
// as far as the file was read, the shortest route dashed, a ring on every
// square a warning names, and a legend.
std::string drawMap(const std::string& title, const MapText& text, const MapCheck& check);
