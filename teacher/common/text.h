#pragma once
#include <string>
#include <string_view>

// The game's texts are Windows-1252; the pages and tables for the teacher
// are UTF-8 (utf8FromGameText).
#include "game_text.h"

// Text for HTML and SVG, with the five markup characters escaped.
std::string htmlEscape(std::string_view text);

// One CSV field: quoted when it holds a comma, semicolon (either may be the
// separator), quote or line end, and with a leading quote mark when a
// spreadsheet would take it for a formula.
std::string csvField(std::string_view text);

// A decimal with a point and the given digits after it, whatever the locale.
std::string fixed(double value, int digits);
