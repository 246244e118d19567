#include "voice_arbiter.h"

#include <algorithm>
#include <cmath>

VoiceArbiter::VoiceArbiter(SoundSystem& inner, SpeechTable table, Wait wait, const Clock& clock)
    : inner_(inner), table_(std::move(table)), wait_(std::move(wait)), clock_(clock)
{
}

int VoiceArbiter::openVoice()
{
    const int id = inner_.openVoice();
    if (id >= 0)
        voices_[id] = Voice{};
    return id;
}

void VoiceArbiter::closeVoice(int voice)
{
    voices_.erase(voice);
    inner_.closeVoice(voice);
}

bool VoiceArbiter::loadVoice(int voice, const std::string& file)
{
    const bool loaded = inner_.loadVoice(voice, file);
    // The new sound waits at its beginning, as the device holds it; after a
    // failed load the voice holds nothing, and nothing of it is held back.
    const auto it = voices_.find(voice);
    if (it != voices_.end())
        it->second = loaded ? Voice{file, table_.find(file)} : Voice{};
    return loaded;
}

double VoiceArbiter::positionMs(const Voice& v, Tick now) const
{
    const double length = v.timing ? v.timing->lengthMs : 0;
    double at = v.offsetMs;
    if (v.playing)
        at += static_cast<double>(static_cast<Tick>(now - v.startedAt));
    if (length <= 0)
        return at;
    return v.looping ? std::fmod(at, length) : std::min(at, length);
}

bool VoiceArbiter::hasSpeechAhead(const Voice& v, Tick now) const
{
    return v.playing && !v.looping && speaks(v) && positionMs(v, now) < v.timing->lastSpeechEndMs();
}

void VoiceArbiter::halt(int id, Voice& v, Tick now)
{
    v.offsetMs = positionMs(v, now);
    v.playing = false;
    inner_.stopVoice(id);
}

void VoiceArbiter::makeRoomFor(int id, Tick now)
{
    for (auto& [other, v] : voices_) {
        if (other == id || !v.playing || !speaks(v))
            continue;
        if (v.looping) {
            halt(other, v, now);
            v.held = true;
        } else if (hasSpeechAhead(v, now)) {
            halt(other, v, now);
        }
    }
}

int VoiceArbiter::playVoice(int voice, bool looping)
{
    const auto it = voices_.find(voice);
    if (it == voices_.end())
        return inner_.playVoice(voice, looping);
    Voice& v = it->second;
    const Tick now = clock_.now();
    // A sound played to its end starts again from its beginning.
    if (v.playing && !v.looping && v.timing && positionMs(v, now) >= v.timing->lengthMs) {
        v.playing = false;
        v.offsetMs = 0;
    }
    if (v.playing) {
        // Already playing: the device only changes its looping.
        v.offsetMs = positionMs(v, now);
        v.startedAt = now;
        v.looping = looping;
        return inner_.playVoice(voice, looping);
    }
    if (speaks(v))
        makeRoomFor(voice, now);
    const int result = inner_.playVoice(voice, looping);
    if (result == 0) {
        v.playing = true;
        v.looping = looping;
        v.held = false;
        v.startedAt = now;
        if (speaks(v))
            remember(v.file, false);
        if (listener_)
            listener_(v.file);
    }
    return result;
}

int VoiceArbiter::stopVoice(int voice)
{
    const auto it = voices_.find(voice);
    if (it != voices_.end()) {
        Voice& v = it->second;
        v.offsetMs = positionMs(v, clock_.now());
        v.playing = false;
        v.held = false;  // stopped by the rules: it stays stopped
    }
    return inner_.stopVoice(voice);
}

bool VoiceArbiter::playBlocking(const std::string& file)
{
    // A stretch cut short says nothing more, not even after its wait.
    if (inner_.stretchCut())
        return false;
    const SoundTiming* timing = table_.find(file);
    if (timing != nullptr && timing->speaks()) {
        const Tick now = clock_.now();
        // The sentence may begin once what is being said has been said; what
        // comes before its own speech (a door's creak) may play under it.
        double waitMs = 0;
        for (const auto& [id, v] : voices_)
            if (hasSpeechAhead(v, now))
                waitMs = std::max(waitMs, v.timing->lastSpeechEndMs() - positionMs(v, now) - timing->firstSpeechMs());
        for (auto& [id, v] : voices_)
            if (v.playing && v.looping && speaks(v)) {
                halt(id, v, now);
                v.held = true;
            }
        if (waitMs > 0 && wait_)
            wait_(waitMs);
        if (inner_.stretchCut())
            return false;
        remember(file, inSequence_);
        inSequence_ = true;
    }
    if (listener_)
        listener_(file);
    // A held loop stays held until the next pass of the main loop, so that a
    // spoken sequence of several files is not broken by bits of the loop.
    return inner_.playBlocking(file);
}

void VoiceArbiter::remember(const std::string& file, bool continuesSequence)
{
    if (repeating_)
        return;
    if (!continuesSequence)
        lastSpeech_.clear();
    lastSpeech_.push_back(file);
    if (!continuesSequence)
        inSequence_ = false;
}

bool VoiceArbiter::repeatLastSpeech()
{
    if (lastSpeech_.empty())
        return false;
    const std::vector<std::string> files = lastSpeech_;
    repeating_ = true;
    bool played = true;
    for (const std::string& file : files)
        played = playBlocking(file) && played;
    repeating_ = false;
    return played;
}

void VoiceArbiter::update()
{
    inSequence_ = false;
    const Tick now = clock_.now();
    bool anyHeld = false;
    for (const auto& [id, v] : voices_) {
        anyHeld = anyHeld || v.held;
        if (hasSpeechAhead(v, now) || (v.playing && v.looping && speaks(v)))
            return;
    }
    if (!anyHeld)
        return;
    // One loop goes on; any other stays held while that one speaks.
    for (auto& [id, v] : voices_)
        if (v.held) {
            v.held = false;
            if (inner_.playVoice(id, true) == 0) {
                v.playing = true;
                v.looping = true;
                v.startedAt = now;
                return;
            }
        }
}
