#pragma once
#include <cstdint>
#include <cstdio>

#include "cell.h"
#include "clock.h"

// Plain-text output shared by saved games and reports. Texts are written as
// they are, never read as format patterns; errors stay in the stream's error
// flag for the caller to check once at the end.
void writeText(std::FILE* out, const char* text);
void writeLine(std::FILE* out, const char* text);
void writeNumberLine(std::FILE* out, int32_t value);
// The 30 rows of a grid's kinds, one space between values, a line end after
// each row.
void writeGrid(std::FILE* out, const Grid& grid);

// Ticks appear in files as the signed reading of their 32 bits.
inline int32_t asSigned(Tick tick) { return static_cast<int32_t>(tick); }
