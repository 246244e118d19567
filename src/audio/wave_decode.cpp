#include <algorithm>

#include "wave.h"

namespace {

uint16_t readLe16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

uint32_t readLe32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

bool fail(std::string* error, const char* why)
{
    if (error)
        *error = why;
    return false;
}

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;
// The extensible header's sub-format for plain PCM; its first two bytes are
// the classic tag.
constexpr uint8_t kPcmSubFormat[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                       0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

// Plain PCM, said either way: the classic tag, or the extensible header some
// editors write for the same samples.
bool isPcm(ByteView fmt)
{
    const uint16_t tag = readLe16(fmt.data());
    if (tag == kFormatPcm)
        return true;
    return tag == kFormatExtensible && fmt.size() >= 40 &&
           std::equal(fmt.begin() + 24, fmt.begin() + 40, kPcmSubFormat);
}
// Far above any sound the game ships; keeps the rate within what the device
// API takes as a signed int.
constexpr uint32_t kMaxSampleRate = 384000;

}  // namespace

double WaveSound::seconds() const
{
    const uint32_t frame = frameBytes();
    if (frame == 0 || sampleRate == 0)
        return 0.0;
    return double(samples.size() / frame) / sampleRate;
}

bool decodeWave(ByteView file, WaveSound& out, std::string* error)
{
    WaveChunks chunks;
    if (!parseWave(file, chunks))
        return fail(error, "no es un sonido WAV (faltan las partes RIFF/WAVE, fmt o data)");
    if (chunks.format.size() < 16)
        return fail(error, "la parte fmt tiene menos de 16 bytes");

    const uint8_t* fmt = chunks.format.data();
    const uint16_t channels = readLe16(fmt + 2);
    const uint32_t rate = readLe32(fmt + 4);
    const uint16_t blockAlign = readLe16(fmt + 12);
    const uint16_t bits = readLe16(fmt + 14);

    if (!isPcm(chunks.format))
        return fail(error, "está comprimido o en un formato desconocido (solo se toca PCM)");
    if (channels != 1 && channels != 2)
        return fail(error, "solo se tocan sonidos mono o estéreo");
    if (bits != 8 && bits != 16)
        return fail(error, "solo se tocan muestras de 8 o 16 bits");
    if (rate == 0 || rate > kMaxSampleRate)
        return fail(error, "la frecuencia de muestreo está fuera de rango");
    if (blockAlign != channels * bits / 8)
        return fail(error, "el tamaño de cuadro no corresponde a los canales y bits");

    // A trailing partial frame cannot be played; the device refuses buffers
    // that are not whole frames.
    const size_t usable = chunks.samples.size() - chunks.samples.size() % blockAlign;
    if (usable == 0)
        return fail(error, "no tiene muestras");

    out.channels = channels;
    out.sampleRate = rate;
    out.bitsPerSample = bits;
    out.samples.assign(chunks.samples.begin(), chunks.samples.begin() + std::ptrdiff_t(usable));
    return true;
}
