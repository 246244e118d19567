#include "bmp_builder.h"

#include <fstream>

namespace {
void put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}
size_t tableBytes(const BmpBuilder& b) { return b.table.size() * (b.headerSize == 12 ? 3 : 4); }
}  // namespace

size_t BmpBuilder::pixelOffset() const { return (fileHeader ? 14 : 0) + headerSize + tableBytes(*this); }

std::vector<uint8_t> BmpBuilder::build() const
{
    std::vector<uint8_t> dib;
    put32(dib, headerSize);
    if (headerSize == 12) {
        put16(dib, static_cast<uint32_t>(width));
        put16(dib, static_cast<uint32_t>(height));
        put16(dib, 1);
        put16(dib, bits);
    } else {
        put32(dib, static_cast<uint32_t>(width));
        put32(dib, static_cast<uint32_t>(height));
        put16(dib, 1);
        put16(dib, bits);
        put32(dib, compression);
        put32(dib, 0);
        put32(dib, 2835);
        put32(dib, 2835);
        put32(dib, colorsUsed);
        put32(dib, 0);
        dib.resize(headerSize, 0);
    }
    for (const Rgb& c : table) {
        dib.push_back(c[2]);
        dib.push_back(c[1]);
        dib.push_back(c[0]);
        if (headerSize != 12)
            dib.push_back(0);
    }
    for (const auto& row : rows) {
        dib.insert(dib.end(), row.begin(), row.end());
        dib.resize(dib.size() + (4 - row.size() % 4) % 4, 0);
    }
    if (!fileHeader)
        return dib;
    std::vector<uint8_t> file{'B', 'M'};
    put32(file, static_cast<uint32_t>(14 + dib.size()));
    put32(file, 0);
    put32(file, static_cast<uint32_t>(pixelOffset()));
    file.insert(file.end(), dib.begin(), dib.end());
    return file;
}

std::vector<uint8_t> packRow24(const std::vector<Rgb>& pixels)
{
    std::vector<uint8_t> row;
    for (const Rgb& p : pixels) {
        row.push_back(p[2]);
        row.push_back(p[1]);
        row.push_back(p[0]);
    }
    return row;
}

std::vector<uint8_t> cellSheet(int side, Rgb (*cellColour)(int))
{
    BmpBuilder b;
    b.width = side;
    b.height = side;
    const int cell = side / 16;
    for (int stored = 0; stored < side; ++stored) {
        const int fromTop = side - 1 - stored;
        std::vector<Rgb> pixels;
        for (int x = 0; x < side; ++x)
            pixels.push_back(cellColour((fromTop / cell) * 16 + x / cell));
        b.rows.push_back(packRow24(pixels));
    }
    return b.build();
}

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
