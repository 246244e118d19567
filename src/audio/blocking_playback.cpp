#include <chrono>
#include <thread>

#include "openal_output.h"
#include "openal_sound.h"

namespace {

constexpr auto kPollPeriod = std::chrono::milliseconds(2);
// Beyond the sound's own length, how long a device that stopped mixing may
// hold the game before it gives up waiting.
constexpr auto kGraceAfterEnd = std::chrono::seconds(2);

}  // namespace

void OpenAlSound::beginStretch(Stretch kind)
{
    stretch_ = kind;
    cut_ = false;
}

void OpenAlSound::endStretch()
{
    stretch_ = Stretch::Fixed;
    cut_ = false;
}

void OpenAlSound::cutStretch() { cut_ = stretch_ != Stretch::Fixed; }

// Plays the file on a source of its own and waits for it to end, so a voice
// that is playing goes on undisturbed underneath.
bool OpenAlSound::playBlocking(const std::string& file)
{
    if (!output_ || cut_)
        return false;
    // A key that came before the sound could start may already end it.
    if (whileBlocking_ && !whileBlocking_()) {
        cutStretch();
        return false;
    }
    const Cached& sound = cached(file);
    const ALuint buffer = sound.buffer;
    if (buffer == 0)
        return false;

    alGetError();
    ALuint source = 0;
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR)
        return false;
    setUpSource(source);
    alSourcei(source, AL_BUFFER, ALint(buffer));
    wakeDevice();
    alSourcePlay(source);
    const bool played = alGetError() == AL_NO_ERROR && waitForEnd(source, sound.seconds);
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, 0);
    alDeleteSources(1, &source);
    return played;
}

// Waits while the source plays: false when the device stopped mixing, the
// sound outlives its own length by far, or a key ends it.
bool OpenAlSound::waitForEnd(unsigned source, double seconds)
{
    const auto length = std::chrono::duration<double>(seconds);
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::duration_cast<std::chrono::steady_clock::duration>(length) +
                          kGraceAfterEnd;
    for (;;) {
        ALint state = AL_STOPPED;
        alGetSourcei(source, AL_SOURCE_STATE, &state);
        if (state != AL_PLAYING)
            return true;
        if (!output_->connected() || std::chrono::steady_clock::now() > deadline)
            return false;
        if (whileBlocking_ && !whileBlocking_()) {
            cutStretch();
            return false;
        }
        std::this_thread::sleep_for(kPollPeriod);
    }
}
