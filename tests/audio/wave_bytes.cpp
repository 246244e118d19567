#include "wave_bytes.h"

#include <fstream>
#include <stdexcept>

namespace wavebytes {

void putLe16(Bytes& out, uint32_t value)
{
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

void putLe32(Bytes& out, uint32_t value)
{
    putLe16(out, value & 0xFFFF);
    putLe16(out, value >> 16);
}

Bytes chunkWithLength(const char* id, uint32_t length, const Bytes& body)
{
    Bytes out(id, id + 4);
    putLe32(out, length);
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2 == 1)
        out.push_back(0);
    return out;
}

Bytes chunk(const char* id, const Bytes& body) { return chunkWithLength(id, uint32_t(body.size()), body); }

Bytes formatBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, uint16_t blockAlign)
{
    Bytes out;
    putLe16(out, tag);
    putLe16(out, channels);
    putLe32(out, rate);
    putLe32(out, rate * blockAlign);
    putLe16(out, blockAlign);
    putLe16(out, bits);
    return out;
}

Bytes pcmFormat(uint16_t channels, uint32_t rate, uint16_t bits)
{
    return formatBody(1, channels, rate, bits, uint16_t(channels * bits / 8));
}

Bytes riffWithSize(uint32_t riffSize, const std::vector<Bytes>& chunks)
{
    Bytes out{'R', 'I', 'F', 'F'};
    putLe32(out, riffSize);
    out.insert(out.end(), {'W', 'A', 'V', 'E'});
    for (const Bytes& c : chunks)
        out.insert(out.end(), c.begin(), c.end());
    return out;
}

Bytes riff(const std::vector<Bytes>& chunks)
{
    Bytes out = riffWithSize(0, chunks);
    const uint32_t size = uint32_t(out.size() - 8);
    for (int i = 0; i < 4; ++i)
        out[size_t(4 + i)] = uint8_t(size >> (8 * i));
    return out;
}

Bytes square16(uint32_t frames, uint16_t channels, int16_t left, int16_t right, uint32_t period)
{
    Bytes out;
    for (uint32_t i = 0; i < frames; ++i) {
        const bool high = period == 0 || (i % period) < period / 2;
        putLe16(out, uint16_t(high ? left : -left));
        if (channels == 2)
            putLe16(out, uint16_t(high ? right : -right));
    }
    return out;
}

Bytes pcmWave(uint16_t channels, uint32_t rate, const Bytes& samples)
{
    return riff({chunk("fmt ", pcmFormat(channels, rate, 16)), chunk("data", samples)});
}

void writeFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!file)
        throw std::runtime_error("cannot write " + path);
}

}  // namespace wavebytes
