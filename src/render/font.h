#pragma once
#include <cstdint>

// The 256 display lists of the font sheet: list glyphListBase + i draws glyph
// i, the cell in column i mod 16 and row i div 16 counted from the top, as a
// 16 by 16 square, then moves the pen 12.8 to the right. 0 until built.
extern unsigned int glyphListBase;

// Builds the glyph lists from fontTexture. Needs the rendering context
// current and loadTextures done.
void buildGlyphLists();

// Prints text (ended by a zero byte) with its first glyph's lower left corner
// at (x, y), in pixels of an 800 by 480 view whose origin is the lower left
// corner. Byte v draws glyph v - 32 + 128 * glyphSet (sets above 1 count as 1,
// below 0 as 0); a byte with no glyph draws nothing and does not move the pen.
// The current colour tints the glyphs. Leaves both matrices as they were, the
// modelview matrix selected, fontTexture bound and depth testing enabled.
void drawText(int32_t x, int32_t y, const char* text, int32_t glyphSet);
