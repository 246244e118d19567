#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Builders for WAV files byte by byte, so tests can make both well-formed
// sounds and every kind of broken file.
namespace wavebytes {

using Bytes = std::vector<uint8_t>;

void putLe16(Bytes& out, uint32_t value);
void putLe32(Bytes& out, uint32_t value);

// One chunk: identifier, length (the body's size unless given), body, and
// the pad byte an odd body is followed by.
Bytes chunk(const char* id, const Bytes& body);
Bytes chunkWithLength(const char* id, uint32_t length, const Bytes& body);

// The 16-byte fmt body.
Bytes formatBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                 uint16_t blockAlign);
Bytes pcmFormat(uint16_t channels, uint32_t rate, uint16_t bits);

// "RIFF", the size (computed unless given), "WAVE", then the chunks.
Bytes riff(const std::vector<Bytes>& chunks);
Bytes riffWithSize(uint32_t riffSize, const std::vector<Bytes>& chunks);

// 16-bit samples of a square wave (or silence with amplitude 0).
Bytes square16(uint32_t frames, uint16_t channels, int16_t left, int16_t right, uint32_t period);

// A whole 16-bit PCM file.
Bytes pcmWave(uint16_t channels, uint32_t rate, const Bytes& samples);

void writeFile(const std::string& path, const Bytes& bytes);

}  // namespace wavebytes
