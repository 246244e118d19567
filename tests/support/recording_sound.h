#pragma once
#include <set>
#include <string>
#include <vector>

#include "sound.h"

class GameState;

// A sound system that plays nothing and writes down what it was asked to do,
// so tests can check which file played on which channel, once or looping.
class RecordingSound : public SoundSystem {
public:
    enum class Op { Open, Close, Load, Play, Loop, Stop, Blocking };
    struct Event {
        Op op;
        int voice;
        std::string file;  // Load and Blocking: the file; Play and Loop: the held file
    };

    int openVoice() override;
    void closeVoice(int voice) override;
    bool loadVoice(int voice, const std::string& file) override;
    int playVoice(int voice, bool looping) override;
    int stopVoice(int voice) override;
    bool playBlocking(const std::string& file) override;

    // Files listed here fail to load, as a missing file would: the voice then
    // holds nothing and its plays are not recorded.
    std::set<std::string> missing;
    bool noDevice = false;
    // What every voice answers when asked whether its sentence has been
    // heard in full and whether it is in the middle of one.
    bool saidInFullAnswer = true;
    bool speakingAnswer = false;
    bool saidInFull(int /*voice*/) const override { return saidInFullAnswer; }
    bool isSpeaking(int /*voice*/) const override { return speakingAnswer; }

    std::vector<Event> events;
    std::vector<std::string> held;  // per voice: the sound it holds
    void clear() { events.clear(); }

    // The plays (Play, Loop and Blocking) since the last clear, as
    // "<channel> once|loop|block <file>" lines, channel names taken from game.
    std::vector<std::string> plays(const GameState& game) const;
    std::vector<std::string> blocking() const;
};

std::string channelName(const GameState& game, int voice);
