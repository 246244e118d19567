#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

#include "bitmap.h"

namespace {
const std::filesystem::path kData = std::filesystem::path(QUORVANE_GAME_DIR) / "Data";

RgbImage decode(const char* name)
{
    std::string error;
    auto image = decodeBitmapFile((kData / name).string(), &error);
    EXPECT_TRUE(image.has_value()) << name << ": " << error;
    return image.value_or(RgbImage{});
}

// The stored header: 24 bits, no compression, a 40-byte info header and
// rows stored bottom first (a positive height).
void expectPlainHeader(const char* name)
{
    SCOPED_TRACE(name);
    std::ifstream in(kData / name, std::ios::binary);
    std::vector<unsigned char> h(54);
    ASSERT_TRUE(in.read(reinterpret_cast<char*>(h.data()), 54));
    auto u32 = [&](int at) { return uint32_t(h[at] | h[at + 1] << 8 | h[at + 2] << 16 | uint32_t(h[at + 3]) << 24); };
    EXPECT_EQ(h[0], 'B');
    EXPECT_EQ(h[1], 'M');
    EXPECT_EQ(u32(14), 40u);
    EXPECT_GT(int32_t(u32(22)), 0);
    EXPECT_EQ(h[28] | h[29] << 8, 24);
    EXPECT_EQ(u32(30), 0u);
}

bool powerOfTwo(int v) { return v > 0 && (v & (v - 1)) == 0; }

// Grey level of a pixel, rows counted from the top of the picture.
int grey(const RgbImage& im, int x, int yFromTop)
{
    const size_t at = (size_t(im.height - 1 - yFromTop) * im.width + x) * 3;
    return (im.pixels[at] + im.pixels[at + 1] + im.pixels[at + 2]) / 3;
}
}

TEST(GameBitmaps, FontSheetHasDarkGlyphsOnWhiteInsideTheirCells)
{
    expectPlainHeader("Font2.bmp");
    const RgbImage font = decode("Font2.bmp");
    ASSERT_EQ(font.width, 256);
    ASSERT_EQ(font.height, 256);

    // Glyph i is byte i + 32. Tinted white on the white screen the cell's
    // paper must vanish and its ink stay dark; the next glyph is drawn over
    // the last 3.2 pixels of the cell, so ink keeps to the left 12 columns.
    for (int glyph = 0; glyph < 256; ++glyph) {
        SCOPED_TRACE(glyph + 32);
        const int x0 = (glyph % 16) * 16, y0 = (glyph / 16) * 16;
        int darkest = 255;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const int g = grey(font, x0 + x, y0 + y);
                if (x >= 12 || x == 0) {
                    ASSERT_EQ(g, 255) << "ink at column " << x << ", row " << y;
                }
                darkest = std::min(darkest, g);
            }
        }
        const int byte = glyph + 32;
        const bool letterOrDigit = (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') ||
                                   (byte >= 'a' && byte <= 'z') || byte == 0xD1 || byte == 0xF1 ||
                                   byte == 0xE1 || byte == 0xE9 || byte == 0xED || byte == 0xF3 ||
                                   byte == 0xFA;
        if (letterOrDigit) {
            EXPECT_LT(darkest, 40);
        }
        if (byte == ' ') {
            EXPECT_EQ(darkest, 255);
        }
    }
}

TEST(GameBitmaps, TileIsALightSquareWithADarkEdge)
{
    expectPlainHeader("casilla.bmp");
    const RgbImage tile = decode("casilla.bmp");
    ASSERT_TRUE(powerOfTwo(tile.width));
    ASSERT_EQ(tile.height, tile.width);
    ASSERT_GE(tile.width, 4);
    ASSERT_LE(tile.width, 64);

    const int cx = tile.width / 2, cy = tile.height / 2;
    const int centre = grey(tile, cx, cy);
    // Light, so the red tint of the player's square stays a clear red.
    EXPECT_GE(centre, 180);
    for (int i = 0; i < tile.width; ++i) {
        EXPECT_LT(grey(tile, i, 0), centre - 100);
        EXPECT_LT(grey(tile, i, tile.height - 1), centre - 100);
        EXPECT_LT(grey(tile, 0, i), centre - 100);
        EXPECT_LT(grey(tile, tile.width - 1, i), centre - 100);
    }
}
