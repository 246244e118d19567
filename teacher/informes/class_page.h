#pragma once
#include <string>
#include <vector>

#include "child_levels.h"

// The class map by map: a table per map with a row per child who played it,
// his levels, how many he won, and his best (the lowest) and latest figures.
std::string classPage(const std::vector<Child>& children, const std::string& filter);
