#include "openal_output.h"

#include "alsoft_settings.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

// The period we ask for, the one the game folder's alsoft.conf sets (128
// frames at 44.1 kHz, about 2.9 ms per mixing update; the reasons are in
// that file). OpenAL Soft 1.19 takes its period from the configuration alone
// and ignores this request; an implementation that takes it gets the same
// period without the file, and the achieved latency is reported as is.
constexpr ALCint kRefreshHz = 344;

ALenum formatOf(const WaveSound& sound)
{
    if (sound.channels == 1)
        return sound.bitsPerSample == 8 ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16;
    return sound.bitsPerSample == 8 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16;
}

}  // namespace

OpenAlOutput::~OpenAlOutput()
{
    if (context) {
        if (alcGetCurrentContext() == context)
            alcMakeContextCurrent(nullptr);
        alcDestroyContext(context);
    }
    if (device)
        alcCloseDevice(device);
}

bool OpenAlOutput::connected() const
{
    if (!reportsDisconnect)
        return true;
    ALCint value = ALC_TRUE;
    alcGetIntegerv(device, ALC_CONNECTED, 1, &value);
    return value != ALC_FALSE;
}

double OpenAlOutput::latencyMs() const
{
    if (!reportsLatency)
        return -1.0;
    ALCint64SOFT nanoseconds = -1;
    alcGetInteger64vSOFT(device, ALC_DEVICE_LATENCY_SOFT, 1, &nanoseconds);
    return nanoseconds < 0 ? -1.0 : double(nanoseconds) / 1e6;
}

std::unique_ptr<OpenAlOutput> openOutput(const GameDir& folder, OutputFailure& why, std::string& settingsNotice)
{
    // OpenAL Soft takes its mixing period only from its configuration, read at
    // the first call into the library: point it at the game folder's settings
    // unless the user has chosen a file of his own. The whole path: the
    // library knows nothing of the game folder.
    const std::string settings = folder.file(kGameAlsoftFile);
    std::error_code ec;
    if (!folder.root().empty() && !std::getenv("ALSOFT_CONF") && std::filesystem::is_regular_file(settings, ec))
        setenv("ALSOFT_CONF", settings.c_str(), 0);
    const std::string standIn = refuseInsaneSettings(settingsNotice, folder);
    auto output = std::make_unique<OpenAlOutput>();
    output->device = alcOpenDevice(nullptr);
    // Read by now: the stand-in is not left behind.
    if (!standIn.empty())
        std::remove(standIn.c_str());
    if (!output->device) {
        why = {"no se pudo abrir el dispositivo", "the device could not be opened"};
        return nullptr;
    }
    const ALCint attributes[] = {ALC_REFRESH, kRefreshHz, 0};
    output->context = alcCreateContext(output->device, attributes);
    if (!output->context || alcMakeContextCurrent(output->context) != ALC_TRUE) {
        why = {"no se pudo preparar el dispositivo", "the device could not be set up"};
        return nullptr;
    }
    output->directChannels = alIsExtensionPresent("AL_SOFT_direct_channels") == AL_TRUE;
    output->reportsDisconnect = alcIsExtensionPresent(output->device, "ALC_EXT_disconnect") == ALC_TRUE;
    output->reportsLatency = alcIsExtensionPresent(output->device, "ALC_SOFT_device_clock") == ALC_TRUE;
    output->canPause = alcIsExtensionPresent(output->device, "ALC_SOFT_pause_device") == ALC_TRUE;
    return output;
}

ALuint makeBuffer(const WaveSound& sound)
{
    alGetError();
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    if (alGetError() != AL_NO_ERROR)
        return 0;
    alBufferData(buffer, formatOf(sound), sound.samples.data(), ALsizei(sound.samples.size()),
                 ALsizei(sound.sampleRate));
    if (alGetError() != AL_NO_ERROR) {
        alDeleteBuffers(1, &buffer);
        return 0;
    }
    return buffer;
}
