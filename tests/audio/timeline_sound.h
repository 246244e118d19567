#pragma once
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "sound.h"
#include "speech_table.h"

class FakeClock;

// A sound system that plays nothing but keeps time. It knows how long each
// file lasts (read from the real file) and where it speaks (the speech
// table), follows the fake clock, lets it run on through blocking playback,
// and writes down every stretch of speech that would be heard, and when.
class TimelineSound : public SoundSystem {
public:
    TimelineSound(std::string gameDir, const SpeechTable& table, FakeClock& clock);

    int openVoice() override;
    void closeVoice(int voice) override;
    bool loadVoice(int voice, const std::string& file) override;
    int playVoice(int voice, bool looping) override;
    int stopVoice(int voice) override;
    bool playBlocking(const std::string& file) override;
    // Playing, looping or not yet at the end of its file.
    bool isVoicePlaying(int voice) const override;

    struct Heard {
        std::string file;
        double fromMs;
        double toMs;
    };
    // Every spoken stretch heard so far, what still plays counted up to now.
    std::vector<Heard> speech() const;
    // Two stretches heard together for longer than the tolerance, one line
    // each: "<file> <from>-<to> over <file> <from>-<to>".
    std::vector<std::string> overlaps(double toleranceMs) const;

private:
    struct Voice {
        std::string file;
        bool playing = false;
        bool looping = false;
        double startedAt = 0;
        double offsetMs = 0;
    };
    double lengthOf(const std::string& file);
    void record(const Voice& v, double untilMs, std::vector<Heard>& out) const;
    void halt(Voice& v);

    std::string gameDir_;
    const SpeechTable& table_;
    FakeClock& clock_;
    std::map<std::string, double> lengths_;
    std::map<int, Voice> voices_;
    std::vector<Heard> heard_;
};
