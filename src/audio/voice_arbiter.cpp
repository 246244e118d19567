#include "voice_arbiter.h"

#include <algorithm>
#include <cmath>

namespace {
// The device sounds a little after it is told to; a sentence that must follow
// another waits this much longer than the clock says, so the two never touch.
constexpr double kDeviceLagMs = 100;
}

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

std::string VoiceArbiter::voiceFile(const std::string& file) const
{
    if (!slowVoice_)
        return file;
    // Only what speaks has a slow copy, and the table names every copy the
    // build made: an effect, or a sentence the build has no copy of, stays.
    std::string slow = std::string(kSlowVoiceFolder) + "/" + file;
    return table_.find(slow) != nullptr ? slow : file;
}

bool VoiceArbiter::loadVoice(int voice, const std::string& asked)
{
    const std::string file = voiceFile(asked);
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

double VoiceArbiter::heardMs(const Voice& v, Tick now) const
{
    return v.heardMs + (v.playing ? static_cast<double>(static_cast<Tick>(now - v.startedAt)) : 0.0);
}

bool VoiceArbiter::sideUnsaid(const Voice& v, Tick now) const
{
    return (v.looping || v.mustHear) && (v.playing || v.held) && speaks(v) &&
           heardMs(v, now) < v.timing->lastSpeechEndMs();
}

void VoiceArbiter::setMustHear(int voice, bool mustHear)
{
    const auto it = voices_.find(voice);
    if (it != voices_.end())
        it->second.mustHear = mustHear;
}

bool VoiceArbiter::anySideUnsaid(Tick now) const
{
    return std::any_of(voices_.begin(), voices_.end(), [&](const auto& entry) { return sideUnsaid(entry.second, now); });
}

bool VoiceArbiter::saidInFull(int voice) const
{
    const auto it = voices_.find(voice);
    if (it == voices_.end() || !speaks(it->second))
        return true;
    const Voice& v = it->second;
    if (v.waiting)
        return false;
    if (!v.playing && !v.held)
        return true;
    return heardMs(v, clock_.now()) >= v.timing->lastSpeechEndMs();
}

bool VoiceArbiter::isSpeaking(int voice) const
{
    const auto it = voices_.find(voice);
    if (it == voices_.end())
        return false;
    const Voice& v = it->second;
    if (v.held || v.waiting)
        return true;
    if (!v.playing || !speaks(v))
        return false;
    const double at = positionMs(v, clock_.now());
    return std::any_of(v.timing->speech.begin(), v.timing->speech.end(),
                       [&](const SoundTiming::Stretch& s) { return at >= s.startMs && at < s.endMs; });
}

bool VoiceArbiter::hasSpeechAhead(const Voice& v, Tick now) const
{
    return v.playing && !v.looping && speaks(v) && positionMs(v, now) < v.timing->lastSpeechEndMs();
}

void VoiceArbiter::halt(int id, Voice& v, Tick now)
{
    v.offsetMs = positionMs(v, now);
    v.heardMs = heardMs(v, now);
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
        v.heardMs = heardMs(v, now);
        v.startedAt = now;
        v.looping = looping;
        return inner_.playVoice(voice, looping);
    }
    if (speaks(v) && !looping && anySideUnsaid(now)) {
        // The player hears where the creature is first; this follows.
        v.waiting = true;
        v.waitingSince = ++waitCount_;
        return 0;
    }
    if (speaks(v))
        makeRoomFor(voice, now);
    return start(voice, v, looping, now);
}

int VoiceArbiter::start(int id, Voice& v, bool looping, Tick now)
{
    const int result = inner_.playVoice(id, looping);
    if (result == 0) {
        if (v.offsetMs == 0)
            v.heardMs = 0;
        v.playing = true;
        v.looping = looping;
        v.held = false;
        v.waiting = false;
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
        const Tick now = clock_.now();
        v.offsetMs = positionMs(v, now);
        v.heardMs = heardMs(v, now);
        v.playing = false;
        v.held = false;  // stopped by the rules: it stays stopped
        v.waiting = false;
    }
    return inner_.stopVoice(voice);
}

bool VoiceArbiter::playBlocking(const std::string& asked)
{
    const std::string file = voiceFile(asked);
    // A stretch cut short says nothing more, not even after its wait.
    if (inner_.stretchCut())
        return false;
    const SoundTiming* timing = table_.find(file);
    if (timing != nullptr && timing->speaks()) {
        Tick now = clock_.now();
        // The sentence may begin once what is being said has been said, and
        // once a creature's side has been heard; what comes before its own
        // speech (a door's creak) may play under it.
        double waitMs = 0;
        for (const auto& [id, v] : voices_) {
            if (!sideUnsaid(v, now) && !(v.playing && !v.looping && speaks(v)))
                continue;
            const double ahead = v.timing->lastSpeechEndMs() - heardMs(v, now);
            if (ahead + kDeviceLagMs > 0)
                waitMs = std::max(waitMs, ahead + kDeviceLagMs - timing->firstSpeechMs());
        }
        holdLoops(now, false);
        if (waitMs > 0 && wait_)
            wait_(waitMs);
        if (inner_.stretchCut())
            return false;
        holdLoops(clock_.now(), true);
        // The name asked for: a repeat speaks at the speed then in use.
        remember(asked, inSequence_);
        inSequence_ = true;
    }
    if (listener_)
        listener_(file);
    // A held loop stays held until the next pass of the main loop, so that a
    // spoken sequence of several files is not broken by bits of the loop.
    return inner_.playBlocking(file);
}

void VoiceArbiter::holdLoops(Tick now, bool evenUnsaid)
{
    for (auto& [id, v] : voices_)
        if (v.playing && v.looping && speaks(v) && (evenUnsaid || !sideUnsaid(v, now))) {
            halt(id, v, now);
            v.held = true;
        }
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

void VoiceArbiter::startWaiting(Tick now)
{
    if (anySideUnsaid(now))
        return;
    Voice* first = nullptr;
    int firstId = -1;
    for (auto& [id, v] : voices_) {
        if (hasSpeechAhead(v, now))
            return;  // it follows the sentence being said
        if (v.waiting && (first == nullptr || v.waitingSince < first->waitingSince)) {
            first = &v;
            firstId = id;
        }
    }
    if (first == nullptr)
        return;
    first->waiting = false;
    makeRoomFor(firstId, now);
    start(firstId, *first, false, now);
}

double VoiceArbiter::msUntilChange() const
{
    const Tick now = clock_.now();
    double soonest = -1;
    auto take = [&soonest](double ms) { soonest = soonest < 0 ? std::max(ms, 0.0) : std::min(soonest, std::max(ms, 0.0)); };
    for (const auto& [id, v] : voices_) {
        if (v.waiting || v.held)
            take(0);
        else if (sideUnsaid(v, now))
            take(v.timing->lastSpeechEndMs() - heardMs(v, now));
        // A sound playing once: its end, where the table knows its length.
        // Past that length (or with none) the device's own word is awaited.
        if (!v.looping && inner_.isVoicePlaying(id))
            take(v.playing && v.timing != nullptr ? v.timing->lengthMs - positionMs(v, now) : 0);
    }
    return soonest;
}

void VoiceArbiter::update()
{
    inSequence_ = false;
    const Tick now = clock_.now();
    startWaiting(now);
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
