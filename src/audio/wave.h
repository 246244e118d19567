#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "game_dir.h"

// Reading WAV files: the RIFF/WAVE chunk walk and the PCM formats the game
// plays. Nothing here touches a sound device, so asset checks and fuzzers can
// use it on any bytes.

// Bytes owned elsewhere, read-only; every read is checked against size().
using ByteView = std::span<const uint8_t>;

// What the chunk walk found: the body of the first "fmt " chunk and the body
// of the first "data" chunk, both inside the walked bytes.
struct WaveChunks {
    ByteView format;
    ByteView samples;
    bool hasFormat = false;
    bool hasSamples = false;
};

// Walks the chunks of a RIFF/WAVE file. True when both an fmt and a data chunk
// were found, in either order; the first of each counts. The walk never reads
// outside `file` and always ends: a RIFF size or chunk length that runs past
// the end of the file ends the walk there.
bool parseWave(ByteView file, WaveChunks& out);

// A sound ready for the device: interleaved PCM, 8-bit unsigned or 16-bit
// signed little-endian, one or two channels, whole frames only.
struct WaveSound {
    uint16_t channels = 0;
    uint32_t sampleRate = 0;
    uint16_t bitsPerSample = 0;
    std::vector<uint8_t> samples;

    uint32_t frameBytes() const { return uint32_t(channels) * bitsPerSample / 8; }
    double seconds() const;
};

// Decodes WAV bytes held in memory. Only uncompressed PCM (under the classic
// or the extensible header), 8 or 16 bits, mono or stereo, is accepted. On
// failure `out` is left as it was and `error`, if given, says why.
bool decodeWave(ByteView file, WaveSound& out, std::string* error = nullptr);

// Reads and decodes a WAV file. Only regular files are read (a named pipe
// would block), up to kMaxWaveFileBytes; error starts with the file's name.
bool loadWaveFile(const std::string& path, WaveSound& out, std::string* error = nullptr);
// The same for a sound the game names (Sonidos/Pasos.wav), read from its
// folder; error starts with the name.
bool loadWaveFile(const GameDir& folder, const std::string& name, WaveSound& out, std::string* error = nullptr);

// The longest sound of the game, the music, takes under a megabyte; a file
// of more than 16 MB is not one of its sounds and is refused before it is
// read.
constexpr size_t kMaxWaveFileBytes = size_t(16) << 20;
