#include "bitmap.h"

#include <climits>
#include <new>

namespace {
const char* const kUnknownFormat = "no es una imagen BMP que el juego sepa leer";
const char* const kOutOfMemory = "la imagen es demasiado grande (se admiten hasta 16384 puntos de lado y 16 millones en total)";
const char* const kConversionError = "la imagen BMP está dañada o usa un formato que el juego no lee";

constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kUncompressed = 0;

// Every read goes through here, so nothing is read past the end of the file.
struct ByteView {
    const uint8_t* data;
    size_t size;

    bool holds(uint64_t offset, uint64_t length) const
    {
        return offset <= size && length <= size - offset;
    }
    uint16_t u16(uint64_t at) const { return static_cast<uint16_t>(data[at] | data[at + 1] << 8); }
    uint32_t u32(uint64_t at) const
    {
        return static_cast<uint32_t>(data[at]) | static_cast<uint32_t>(data[at + 1]) << 8 |
               static_cast<uint32_t>(data[at + 2]) << 16 | static_cast<uint32_t>(data[at + 3]) << 24;
    }
    int32_t i32(uint64_t at) const { return static_cast<int32_t>(u32(at)); }
};

// What the headers say, before any of it is trusted.
struct Layout {
    int64_t width = 0;
    int64_t height = 0;
    uint32_t bits = 0;
    uint32_t compression = kUncompressed;
    uint64_t colorsUsed = 0;
    uint64_t entrySize = 4;
    uint64_t tableStart = 0;
    uint64_t tableCount = 0;
    uint64_t pixelOffset = 0;
    bool fileHeader = false;
};

std::nullopt_t fail(std::string* error, const char* text)
{
    if (error)
        *error = text;
    return std::nullopt;
}

bool readHeaders(const ByteView& in, Layout& out, std::string* error)
{
    uint64_t headerStart = 0;
    if (in.size >= 2 && in.data[0] == 'B' && in.data[1] == 'M') {
        if (!in.holds(0, kFileHeaderSize)) {
            fail(error, kUnknownFormat);
            return false;
        }
        out.fileHeader = true;
        out.pixelOffset = in.u32(10);
        headerStart = kFileHeaderSize;
    }
    if (!in.holds(headerStart, 4)) {
        fail(error, kUnknownFormat);
        return false;
    }
    const uint32_t headerSize = in.u32(headerStart);
    if ((headerSize != kCoreHeaderSize && headerSize != kInfoHeaderSize) || !in.holds(headerStart, headerSize)) {
        fail(error, kUnknownFormat);
        return false;
    }
    if (headerSize == kCoreHeaderSize) {
        out.width = in.u16(headerStart + 4);
        out.height = in.u16(headerStart + 6);
        out.bits = in.u16(headerStart + 10);
        out.entrySize = 3;
    } else {
        out.width = in.i32(headerStart + 4);
        out.height = in.i32(headerStart + 8);
        out.bits = in.u16(headerStart + 14);
        out.compression = in.u32(headerStart + 16);
        out.colorsUsed = in.u32(headerStart + 32);
    }
    out.tableStart = headerStart + headerSize;
    return true;
}

// Sizes, colour table and pixel data checked against the file; nothing has
// been allocated yet.
bool checkLayout(const ByteView& in, Layout& l, std::string* error)
{
    const bool knownDepth = l.bits == 1 || l.bits == 4 || l.bits == 8 || l.bits == 16 || l.bits == 24 || l.bits == 32;
    if (!knownDepth || l.compression != kUncompressed || l.width <= 0 || l.height == 0 || l.height == INT_MIN) {
        fail(error, kConversionError);
        return false;
    }
    const int64_t rows = l.height < 0 ? -l.height : l.height;
    if (l.width > kMaxBitmapSide || rows > kMaxBitmapSide || l.width * rows > kMaxBitmapPixels) {
        fail(error, kOutOfMemory);
        return false;
    }
    if (l.bits <= 8) {
        const uint64_t depthCount = uint64_t{1} << l.bits;
        l.tableCount = (l.colorsUsed != 0 && l.colorsUsed < depthCount) ? l.colorsUsed : depthCount;
    } else {
        l.tableCount = l.colorsUsed;
    }
    const uint64_t tableBytes = l.tableCount * l.entrySize;
    if (!in.holds(l.tableStart, tableBytes)) {
        fail(error, kConversionError);
        return false;
    }
    if (!l.fileHeader)
        l.pixelOffset = l.tableStart + tableBytes;
    const uint64_t stride = ((static_cast<uint64_t>(l.width) * l.bits + 31) / 32) * 4;
    if (!in.holds(l.pixelOffset, stride * static_cast<uint64_t>(rows))) {
        fail(error, kConversionError);
        return false;
    }
    return true;
}

uint8_t widen5(unsigned v) { return static_cast<uint8_t>((v << 3) | (v >> 2)); }

// Converts one stored row; false when a pixel names a colour the table lacks.
bool convertRow(const ByteView& in, const Layout& l, const uint8_t* src, uint8_t* dst)
{
    for (int64_t x = 0; x < l.width; ++x, dst += 3) {
        if (l.bits == 24 || l.bits == 32) {
            const uint8_t* p = src + x * (l.bits / 8);
            dst[0] = p[2];
            dst[1] = p[1];
            dst[2] = p[0];
            continue;
        }
        if (l.bits == 16) {
            const unsigned v = static_cast<unsigned>(src[2 * x] | src[2 * x + 1] << 8);
            dst[0] = widen5((v >> 10) & 31);
            dst[1] = widen5((v >> 5) & 31);
            dst[2] = widen5(v & 31);
            continue;
        }
        const int64_t bitPos = x * l.bits;
        const unsigned shift = static_cast<unsigned>(8 - l.bits - bitPos % 8);
        const unsigned index = (src[bitPos / 8] >> shift) & ((1u << l.bits) - 1);
        if (index >= l.tableCount)
            return false;
        const uint8_t* entry = in.data + l.tableStart + index * l.entrySize;
        dst[0] = entry[2];
        dst[1] = entry[1];
        dst[2] = entry[0];
    }
    return true;
}
}  // namespace

std::optional<RgbImage> decodeBitmap(const uint8_t* bytes, size_t size, std::string* error)
{
    if (bytes == nullptr)
        size = 0;
    const ByteView in{bytes, size};
    Layout layout;
    if (!readHeaders(in, layout, error) || !checkLayout(in, layout, error))
        return std::nullopt;

    const bool topDown = layout.height < 0;
    const int64_t rows = topDown ? -layout.height : layout.height;
    const uint64_t stride = ((static_cast<uint64_t>(layout.width) * layout.bits + 31) / 32) * 4;
    const size_t outStride = static_cast<size_t>(layout.width) * 3;

    RgbImage image;
    image.width = static_cast<int32_t>(layout.width);
    image.height = static_cast<int32_t>(rows);
    try {
        image.pixels.resize(outStride * static_cast<size_t>(rows));
    } catch (const std::bad_alloc&) {
        return fail(error, kOutOfMemory);
    }
    for (int64_t r = 0; r < rows; ++r) {
        const int64_t stored = topDown ? rows - 1 - r : r;
        const uint8_t* src = in.data + layout.pixelOffset + static_cast<uint64_t>(stored) * stride;
        if (!convertRow(in, layout, src, image.pixels.data() + static_cast<size_t>(r) * outStride))
            return fail(error, kConversionError);
    }
    return image;
}
