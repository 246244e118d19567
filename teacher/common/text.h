#pragma once
#include <string>
#include <string_view>

// The game's texts are Windows-1252; the pages and tables for the teacher
// are UTF-8 (utf8FromGameText).
#include "game_text.h"

// Text for HTML and SVG, with the five markup characters escaped.
std::string htmlEscape(std::string_view text);
void appendEscaped(std::string& out, std::string_view text);

// Appends texts and whole numbers to out in one go. The drawings are made of
// thousands of small pieces; joined with + each piece would be a string of
// its own, copied again at every step.
void appendNumber(std::string& out, long long value);
inline void appendPart(std::string& out, std::string_view text) { out += text; }
inline void appendPart(std::string& out, long long value) { appendNumber(out, value); }
template <class... Parts>
void appendAll(std::string& out, const Parts&... parts)
{
    (appendPart(out, parts), ...);
}

// One CSV field: quoted when it holds a comma, semicolon (either may be the
// separator), quote or line end, and with a leading quote mark when a
// spreadsheet would take it for a formula.
std::string csvField(std::string_view text);
void appendCsvField(std::string& out, std::string_view text);

// A decimal with a point and the given digits after it, whatever the locale.
std::string fixed(double value, int digits);
