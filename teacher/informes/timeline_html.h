#pragma once
#include <optional>
#include <string>

// What the child, class and index pages share: the head with the styles
// inline (screen and print), and the cells of their tables.
std::string timelinePageStart(const std::string& title);
inline const char* const kTimelinePageEnd = "</body>\n</html>\n";

// The navigation between the pages, left out when printing.
std::string timelineNav();

std::string textCell(const std::string& html);
std::string numberCell(const std::optional<double>& value, int digits);  // "—" without a value
std::string headerCell(const std::string& text);                         // a column's header

// A paragraph naming the filter the pages were written with, empty without one.
std::string filterNote(const std::string& described);
