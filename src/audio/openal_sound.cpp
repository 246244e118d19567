#include "openal_sound.h"

#include <iostream>
#include <utility>

#include "openal_output.h"

namespace {

ALint sourceState(ALuint source)
{
    ALint state = AL_INITIAL;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}

// The buffers are the cache's: a source only lets go of its own.
void detach(ALuint source, ALuint& buffer)
{
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, 0);
    buffer = 0;
}

}  // namespace

OpenAlSound::OpenAlSound() : OpenAlSound(GameDir{}, std::cerr) {}

OpenAlSound::OpenAlSound(std::ostream& notices) : OpenAlSound(GameDir{}, notices) {}

OpenAlSound::OpenAlSound(GameDir folder) : OpenAlSound(std::move(folder), std::cerr) {}

OpenAlSound::OpenAlSound(GameDir folder, std::ostream& notices) : folder_(std::move(folder))
{
    OutputFailure why;
    output_ = openOutput(folder_, why, settingsNotice_);
    if (!settingsNotice_.empty())
        notices << "Quorvane: " << settingsNotice_ << "\n";
    if (!output_) {
        noDeviceReason_ = why.spanish;
        notices << "Quorvane: sin sonido (" << why.spanish << "); el juego sigue en silencio. / No sound ("
                << why.english << "); the game runs silent.\n";
    }
}

OpenAlSound::~OpenAlSound()
{
    for (size_t i = 0; i < voices_.size(); ++i)
        closeVoice(int(i));
    // Every source is gone: OpenAL deletes no buffer still attached.
    for (auto& [file, entry] : cache_)
        if (entry.buffer != 0)
            alDeleteBuffers(1, &entry.buffer);
}

const OpenAlSound::Cached& OpenAlSound::cached(const std::string& file)
{
    const auto found = cache_.find(file);
    if (found != cache_.end())
        return found->second;
    Cached entry;
    WaveSound sound;
    if (loadWaveFile(folder_, file, sound, &entry.problem)) {
        entry.buffer = makeBuffer(sound);
        entry.seconds = sound.seconds();
    }
    return cache_.emplace(file, entry).first->second;
}

std::string OpenAlSound::preload(const std::string& file)
{
    if (output_)
        return cached(file).problem;
    WaveSound sound;
    std::string why;
    return loadWaveFile(file, sound, &why) ? std::string() : why;
}

bool OpenAlSound::hasDevice() const { return output_ != nullptr; }

double OpenAlSound::outputLatencyMs() const { return output_ ? output_->latencyMs() : -1.0; }

OpenAlSound::Voice* OpenAlSound::findVoice(int voice)
{
    if (voice < 0 || size_t(voice) >= voices_.size() || !voices_[size_t(voice)].open)
        return nullptr;
    return &voices_[size_t(voice)];
}

const OpenAlSound::Voice* OpenAlSound::findVoice(int voice) const
{
    return const_cast<OpenAlSound*>(this)->findVoice(voice);
}

void OpenAlSound::setUpSource(unsigned source) const
{
    // Sounds are heard as recorded: no distance or position effects.
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    if (output_->directChannels)
        alSourcei(source, AL_DIRECT_CHANNELS_SOFT, AL_TRUE);
}

int OpenAlSound::openVoice()
{
    if (!output_)
        return -1;
    alGetError();
    ALuint source = 0;
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR)
        return -1;
    setUpSource(source);

    // Closed voices are reused, so opening the channels again on every saved
    // game load does not grow the table.
    size_t slot = 0;
    while (slot < voices_.size() && voices_[slot].open)
        ++slot;
    if (slot == voices_.size())
        voices_.emplace_back();
    voices_[slot] = Voice{source, 0, true};
    return int(slot);
}

void OpenAlSound::closeVoice(int voice)
{
    Voice* v = findVoice(voice);
    if (!v)
        return;
    detach(v->source, v->buffer);
    alDeleteSources(1, &v->source);
    *v = Voice{};
}

bool OpenAlSound::loadVoice(int voice, const std::string& file)
{
    Voice* v = findVoice(voice);
    if (!v)
        return false;
    // The old sound falls silent with its buffer, whether or not the new one
    // loads: a failed load leaves the voice holding nothing, never the
    // previous sound to be played in its place.
    detach(v->source, v->buffer);
    const ALuint buffer = cached(file).buffer;
    if (buffer == 0)
        return false;

    // The new sound waits at its beginning for the next play.
    alGetError();
    alSourcei(v->source, AL_BUFFER, ALint(buffer));
    if (alGetError() != AL_NO_ERROR)
        return false;
    v->buffer = buffer;
    return true;
}

int OpenAlSound::playVoice(int voice, bool looping)
{
    Voice* v = findVoice(voice);
    if (!v || v->buffer == 0)
        return -1;
    alGetError();
    alSourcei(v->source, AL_LOOPING, looping ? AL_TRUE : AL_FALSE);
    // Playing a sound that already plays only changes its looping: it goes on
    // from where it is rather than starting over. A paused sound resumes
    // where it was stopped; one that ended starts from its beginning.
    if (sourceState(v->source) != AL_PLAYING) {
        wakeDevice();
        alSourcePlay(v->source);
        if (playObserver_)
            playObserver_(voice);
    }
    return alGetError() == AL_NO_ERROR ? 0 : -1;
}

int OpenAlSound::stopVoice(int voice)
{
    Voice* v = findVoice(voice);
    if (!v || v->buffer == 0)
        return -1;
    alGetError();
    if (sourceState(v->source) == AL_PLAYING)
        alSourcePause(v->source);
    return alGetError() == AL_NO_ERROR ? 0 : -1;
}

bool OpenAlSound::isVoicePlaying(int voice) const
{
    const Voice* v = findVoice(voice);
    return v && v->buffer != 0 && sourceState(v->source) == AL_PLAYING;
}

long OpenAlSound::voiceSampleOffset(int voice) const
{
    const Voice* v = findVoice(voice);
    if (!v || v->buffer == 0)
        return -1;
    ALint offset = 0;
    alGetSourcei(v->source, AL_SAMPLE_OFFSET, &offset);
    return offset;
}

void OpenAlSound::restWhenSilent()
{
    constexpr auto kSilenceBeforeRest = std::chrono::seconds(3);
    if (!output_ || !output_->canPause || resting_)
        return;
    const auto now = std::chrono::steady_clock::now();
    for (const Voice& v : voices_)
        if (v.open && v.buffer != 0 && sourceState(v.source) == AL_PLAYING) {
            lastHeard_ = now;
            return;
        }
    if (now - lastHeard_ < kSilenceBeforeRest)
        return;
    alcDevicePauseSOFT(output_->device);
    resting_ = true;
}

void OpenAlSound::wakeDevice()
{
    lastHeard_ = std::chrono::steady_clock::now();
    if (!resting_)
        return;
    alcDeviceResumeSOFT(output_->device);
    resting_ = false;
}

std::unique_ptr<SoundSystem> createSoundSystem(const GameDir& folder)
{
    return std::make_unique<OpenAlSound>(folder);
}
