#pragma once
#include <cstdint>

#include "textures.h"

// Prints text (ended by a zero byte) with its first glyph's lower left corner
// at (x, y), in pixels of an 800 by 480 view whose origin is the lower left
// corner. Byte v draws glyph v - 32 + 128 * glyphSet (sets above 1 count as 1,
// below 0 as 0): the cell of the font sheet in column g mod 16 and row g div 16
// counted from the top, as a 16 by 16 square, after which the pen moves 12.8 to
// the right. A byte with no glyph draws nothing and does not move the pen.
// The current colour tints the glyphs; without a font texture nothing is
// drawn. Leaves both matrices as they were, the modelview matrix selected,
// the font texture bound and depth testing enabled.
void drawText(const Textures& textures, int32_t x, int32_t y, const char* text, int32_t glyphSet);
