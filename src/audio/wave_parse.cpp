#include <algorithm>
#include <cstring>

#include "wave.h"

namespace {

uint32_t readLe32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

bool hasTag(const uint8_t* p, const char* tag) { return std::memcmp(p, tag, 4) == 0; }

}  // namespace

bool parseWave(ByteView file, WaveChunks& out)
{
    out = WaveChunks{};
    if (file.size() < 12)
        return false;
    if (!hasTag(file.data(), "RIFF") || !hasTag(file.data() + 8, "WAVE"))
        return false;

    // Positions are 64-bit while every size read from the file is 32-bit, so
    // no sum below can wrap, and each chunk moves the walk on by at least its
    // 8-byte header: the loop always ends.
    const uint64_t fileSize = file.size();
    const uint64_t end = std::min<uint64_t>(8 + uint64_t(readLe32(file.data() + 4)), fileSize);
    uint64_t pos = 12;
    while (pos < end) {
        if (pos + 8 > fileSize)
            break;
        const uint8_t* header = file.data() + pos;
        const uint64_t length = readLe32(header + 4);
        const uint64_t body = pos + 8;
        if (body + length > fileSize)
            break;
        const ByteView bodyView = file.subspan(size_t(body), size_t(length));

        if (hasTag(header, "fmt ") && !out.hasFormat) {
            out.format = bodyView;
            out.hasFormat = true;
            if (out.hasSamples && !out.samples.empty())
                return true;
        } else if (hasTag(header, "data") && !out.hasSamples) {
            out.samples = bodyView;
            out.hasSamples = true;
            if (out.hasFormat)
                return true;
        }
        pos = body + length + (length & 1);
    }
    return out.hasFormat && out.hasSamples;
}
