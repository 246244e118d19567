// The WAV reader on arbitrary bytes: the chunk walk and the PCM checks.
#include "wave.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    WaveChunks chunks;
    parseWave(ByteView(data, size), chunks);
    WaveSound sound;
    std::string error;
    if (decodeWave(ByteView(data, size), sound, &error)) {
        // A decoded sound holds whole frames of a format the device takes.
        if (sound.frameBytes() == 0 || sound.samples.size() % sound.frameBytes() != 0)
            __builtin_trap();
    } else if (error.empty()) {
        __builtin_trap();  // a refusal always says why
    }
    return 0;
}
