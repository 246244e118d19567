#include "sound.h"

bool SoundChannel::initChannel(const char* file, SoundSystem& sounds)
{
    releaseChannel();
    system = &sounds;
    voice = sounds.openVoice();
    if (voice < 0)
        return false;
    return sounds.loadVoice(voice, file);
}

int SoundChannel::playFile(const char* file, int /*reserved*/, int priority, int flags)
{
    if (!isOpen())
        return -1;
    // A sound that cannot be loaded plays nothing: the voice is left silent.
    if (!system->loadVoice(voice, file))
        return -1;
    if (priority >= kPriorityMustHear)
        system->setMustHear(voice, true);
    return system->playVoice(voice, flags == kPlayLooping);
}

int SoundChannel::playCurrent(int /*reserved*/, int /*priority*/, int flags)
{
    return isOpen() ? system->playVoice(voice, flags == kPlayLooping) : -1;
}

int SoundChannel::stopChannel() { return isOpen() ? system->stopVoice(voice) : -1; }

bool SoundChannel::playBlocking(const char* file)
{
    return system != nullptr && system->playBlocking(file);
}

void SoundChannel::releaseChannel()
{
    if (isOpen())
        system->closeVoice(voice);
    system = nullptr;
    voice = -1;
}
