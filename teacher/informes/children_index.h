#pragma once
#include <string>
#include <vector>

#include "child_levels.h"
#include "report_page.h"

// The index of the pages: the class page, then each child with his page and
// his levels (date, map, result, a few figures, each linked to its report's
// page), and the files that could not be read.
std::string childrenIndex(const std::vector<Child>& children, const std::vector<Refused>& refused,
                          const std::string& filter);
