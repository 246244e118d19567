#pragma once
// Internal to the audio layer: the OpenAL device and context behind
// OpenAlSound, and the conversion of a decoded WAV into an OpenAL buffer.
#define AL_ALEXT_PROTOTYPES
#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <memory>
#include <string>

#include "game_dir.h"
#include "wave.h"

struct OpenAlOutput {
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    // Stereo files play their channels straight to the speakers, so a sound
    // recorded hard left stays hard left instead of being re-panned.
    bool directChannels = false;
    bool reportsDisconnect = false;
    bool reportsLatency = false;
    // The device can stop and resume its mixing (ALC_SOFT_pause_device).
    bool canPause = false;

    ~OpenAlOutput();
    // False once the device is gone (a headset unplugged).
    bool connected() const;
    double latencyMs() const;
};

// Why there is no output, in the player's language and in English.
struct OutputFailure {
    const char* spanish = "";
    const char* english = "";
};

// Opens the default device with a low-latency request and makes its context
// current, with the settings of the game folder (alsoft.conf) unless the user
// names his own. Null, with the reason in `why`, when there is no usable
// device. Settings out of range are refused first; settingsNotice then says
// which.
std::unique_ptr<OpenAlOutput> openOutput(const GameDir& folder, OutputFailure& why, std::string& settingsNotice);

// A new buffer holding the sound, or 0 when the device refuses it.
ALuint makeBuffer(const WaveSound& sound);
