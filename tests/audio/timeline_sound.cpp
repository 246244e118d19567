#include "timeline_sound.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "fake_clock.h"
#include "wave.h"

TimelineSound::TimelineSound(std::string gameDir, const SpeechTable& table, FakeClock& clock)
    : gameDir_(std::move(gameDir)), table_(table), clock_(clock)
{
}

double TimelineSound::lengthOf(const std::string& file)
{
    const auto known = lengths_.find(file);
    if (known != lengths_.end())
        return known->second;
    WaveSound sound;
    const double ms = loadWaveFile(gameDir_ + "/" + file, sound) ? sound.seconds() * 1000.0 : -1.0;
    lengths_[file] = ms;
    return ms;
}

int TimelineSound::openVoice()
{
    const int id = static_cast<int>(voices_.size());
    voices_[id] = Voice{};
    return id;
}

void TimelineSound::closeVoice(int voice)
{
    halt(voices_.at(voice));
    voices_.erase(voice);
}

bool TimelineSound::loadVoice(int voice, const std::string& file)
{
    if (lengthOf(file) <= 0)
        return false;
    Voice& v = voices_.at(voice);
    halt(v);
    v = Voice{file};
    return true;
}

void TimelineSound::record(const Voice& v, double untilMs, std::vector<Heard>& out) const
{
    const SoundTiming* timing = table_.find(v.file);
    const double length = lengths_.at(v.file);
    if (!v.playing || timing == nullptr || length <= 0)
        return;
    // The file's own time runs from offsetMs at startedAt; a loop wraps at
    // its length, a sound played once stops there.
    const double end = v.looping ? untilMs : std::min(untilMs, v.startedAt + length - v.offsetMs);
    for (int round = 0;; ++round) {
        const double roundStart = v.startedAt - v.offsetMs + round * length;
        if (roundStart >= end || (!v.looping && round > 0))
            break;
        for (const auto& s : timing->speech) {
            const double from = std::max(roundStart + s.startMs, v.startedAt);
            const double to = std::min(roundStart + s.endMs, end);
            if (to > from)
                out.push_back({v.file, from, to});
        }
    }
}

void TimelineSound::halt(Voice& v)
{
    if (!v.playing)
        return;
    const double now = clock_.now();
    record(v, now, heard_);
    const double length = lengths_.at(v.file);
    v.offsetMs = v.offsetMs + (now - v.startedAt);
    v.offsetMs = v.looping ? std::fmod(v.offsetMs, length) : std::min(v.offsetMs, length);
    v.playing = false;
}

int TimelineSound::playVoice(int voice, bool looping)
{
    Voice& v = voices_.at(voice);
    if (v.file.empty())
        return -1;
    const double length = lengths_.at(v.file);
    if (v.playing && !v.looping && clock_.now() >= v.startedAt + length - v.offsetMs) {
        halt(v);
        v.offsetMs = 0;  // played to its end: starts again from the beginning
    }
    halt(v);
    if (!looping && v.offsetMs >= length)
        v.offsetMs = 0;
    v.playing = true;
    v.looping = looping;
    v.startedAt = clock_.now();
    return 0;
}

int TimelineSound::stopVoice(int voice)
{
    halt(voices_.at(voice));
    return 0;
}

bool TimelineSound::isVoicePlaying(int voice) const
{
    const auto found = voices_.find(voice);
    if (found == voices_.end() || !found->second.playing)
        return false;
    const Voice& v = found->second;
    return v.looping || clock_.now() < v.startedAt + lengths_.at(v.file) - v.offsetMs;
}

bool TimelineSound::playBlocking(const std::string& file)
{
    const double length = lengthOf(file);
    if (length <= 0)
        return false;
    Voice blocking{file, true, false, static_cast<double>(clock_.now()), 0};
    record(blocking, clock_.now() + length, heard_);
    clock_.advance(static_cast<Tick>(std::ceil(length)));
    return true;
}

std::vector<TimelineSound::Heard> TimelineSound::speech() const
{
    std::vector<Heard> out = heard_;
    for (const auto& [id, v] : voices_)
        record(v, clock_.now(), out);
    std::sort(out.begin(), out.end(), [](const Heard& a, const Heard& b) { return a.fromMs < b.fromMs; });
    return out;
}

std::vector<std::string> TimelineSound::overlaps(double toleranceMs) const
{
    const std::vector<Heard> all = speech();
    std::vector<std::string> out;
    for (size_t i = 0; i < all.size(); ++i)
        for (size_t j = i + 1; j < all.size() && all[j].fromMs < all[i].toMs - toleranceMs; ++j) {
            char line[300];
            std::snprintf(line, sizeof line, "%s %.0f-%.0f over %s %.0f-%.0f", all[j].file.c_str(), all[j].fromMs,
                          all[j].toMs, all[i].file.c_str(), all[i].fromMs, all[i].toMs);
            out.emplace_back(line);
        }
    return out;
}
