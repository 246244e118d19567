#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

using Rgb = std::array<uint8_t, 3>;

// Writes bitmap files byte by byte, so tests can make both good and broken
// ones. Rows are given in stored order without their padding.
struct BmpBuilder {
    int32_t width = 1;
    int32_t height = 1;
    uint16_t bits = 24;
    uint32_t headerSize = 40;
    uint32_t compression = 0;
    uint32_t colorsUsed = 0;
    bool fileHeader = true;
    std::vector<Rgb> table;
    std::vector<std::vector<uint8_t>> rows;

    std::vector<uint8_t> build() const;
    // Where the pixel data starts in what build() gives.
    size_t pixelOffset() const;
};

// Blue, green, red bytes of a 24-bit row.
std::vector<uint8_t> packRow24(const std::vector<Rgb>& pixels);

// A 24-bit bitmap of one colour per 16 by 16 cell: cellColour(i) for the cell
// in column i mod 16 and row i div 16 from the top. side must be a multiple of 16.
std::vector<uint8_t> cellSheet(int side, Rgb (*cellColour)(int));

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes);
