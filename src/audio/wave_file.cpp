#include "regular_file.h"
#include "wave.h"

bool loadWaveFile(const GameDir& folder, const std::string& name, WaveSound& out, std::string* error)
{
    // Only a regular file is read, and without blocking: a FIFO or a device
    // under a sound's name cannot stall the game.
    std::vector<uint8_t> bytes;
    std::string why;
    if (!readRegularFile(folder.file(name), bytes, kMaxWaveFileBytes, &why) || !decodeWave(bytes, out, &why)) {
        if (error)
            *error = name + ": " + why;
        return false;
    }
    return true;
}

bool loadWaveFile(const std::string& path, WaveSound& out, std::string* error)
{
    return loadWaveFile(GameDir{}, path, out, error);
}
