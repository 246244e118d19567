#pragma once
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "clock.h"
#include "sound.h"
#include "speech_table.h"

// Keeps the game to one voice at a time. The rules start sounds on thirteen
// channels that mix freely; most of those sounds speak, and two sentences
// heard together are understood by nobody. The arbiter stands between the
// channels and the sound system and, knowing from the speech table where
// each file speaks, decides who may speak:
//
// - A sentence started on a channel is the newest thing the player needs to
//   hear: it cuts a sentence still being said on another channel (the player
//   has moved on), and holds a looping announcement (a creature's) until it
//   has been said; the loop then goes on from where it was held.
// - A blocking sentence waits, before it starts, until the sentence being
//   said has ended (so "No tienes balas" is heard before "Perdiste"), and
//   holds the looping announcement while it plays.
// - Effects (footsteps, shots, music) are never held or cut and hold nothing.
// - What the player must act on comes first: a looping announcement (a
//   creature's side) that has not yet been said in full is neither held nor
//   cut. A sentence started on a channel meanwhile waits for it and then
//   starts, sentences waiting in the order they came; a blocking sentence
//   waits for it too. A sentence the rules mark as one to be heard in full
//   (the lives left) is kept in the same way.
//
// Time is read from the game's tick source, so the same arbiter runs over the
// real device in the game and over a recorder on a fake clock in tests.
class VoiceArbiter : public SoundSystem {
public:
    // Waits so many milliseconds before a blocking sentence starts; the game
    // keeps its window alive meanwhile, tests move their clock on.
    using Wait = std::function<void(double ms)>;

    // Times what is said on clock, which must outlive the arbiter.
    VoiceArbiter(SoundSystem& inner, SpeechTable table, Wait wait, const Clock& clock = systemClock());

    int openVoice() override;
    void closeVoice(int voice) override;
    bool loadVoice(int voice, const std::string& file) override;
    int playVoice(int voice, bool looping) override;
    int stopVoice(int voice) override;
    bool playBlocking(const std::string& file) override;
    bool isVoicePlaying(int voice) const override { return inner_.isVoicePlaying(voice); }
    bool saidInFull(int voice) const override;
    bool isSpeaking(int voice) const override;
    void setMustHear(int voice, bool mustHear) override;
    // Says again the last thing said on a channel, or the last spoken
    // sequence (a bullet count, an ending), each file in its own place.
    bool repeatLastSpeech() override;
    // The device keeps the stretches and cuts them short.
    void beginStretch(Stretch kind) override { inner_.beginStretch(kind); }
    void endStretch() override { inner_.endStretch(); }
    bool stretchCut() const override { return inner_.stretchCut(); }

    // Called once per pass of the main loop: starts a sentence that waited
    // for a creature's side, and lets a held loop go on once nothing else
    // speaks.
    void update();
    // How long, in milliseconds, before what the channels play can change
    // on its own: a sound ending, a side said in full, a waiting sentence
    // starting (0: it may at any moment). Negative when nothing plays but
    // loops already heard in full, so only the game itself changes it.
    double msUntilChange() const;

    // The slow copy of each spoken file is the one loaded and played from
    // now on; the table's timings of the copy are the ones that count.
    void useSlowVoice(bool slow) override { slowVoice_ = slow; }
    // The file that sounds for the one asked for, at the speed in use.
    std::string voiceFile(const std::string& file) const;

    const SpeechTable& table() const { return table_; }
    // Told of every file that starts to sound, on a channel or blocking, in
    // order: what the player hears, for tests and diagnostics.
    void setListener(std::function<void(const std::string& file)> listener) { listener_ = std::move(listener); }

private:
    struct Voice {
        std::string file;
        const SoundTiming* timing = nullptr;  // null: an effect, or a file the table does not know
        bool playing = false;
        bool looping = false;
        bool held = false;      // a loop stopped by the arbiter, to go on later
        Tick startedAt = 0;     // when it last started playing
        double offsetMs = 0;    // where in the file it was then
        double heardMs = 0;     // played since it started from its beginning, before startedAt
        bool mustHear = false;  // kept from cuts until said in full, as a creature's side
        bool waiting = false;   // a sentence asked for while one to be heard in full was said
        unsigned waitingSince = 0;
    };

    double positionMs(const Voice& v, Tick now) const;
    double heardMs(const Voice& v, Tick now) const;
    // A looping announcement still saying its sentence for the first time,
    // or a sentence to be heard in full not yet said to its end.
    bool sideUnsaid(const Voice& v, Tick now) const;
    bool anySideUnsaid(Tick now) const;
    // Starts the sentence that has waited longest, once nothing is said.
    void startWaiting(Tick now);
    int start(int id, Voice& v, bool looping, Tick now);
    // Holds the speaking loops (those still saying a side only when asked).
    void holdLoops(Tick now, bool evenUnsaid);
    // Playing once, with a sentence still to be said or being said.
    bool hasSpeechAhead(const Voice& v, Tick now) const;
    bool speaks(const Voice& v) const { return v.timing != nullptr && v.timing->speaks(); }
    void halt(int id, Voice& v, Tick now);
    // Cuts the sentences of other channels and holds the speaking loops.
    void makeRoomFor(int id, Tick now);
    // Notes what was said, for a repeat: a blocking sentence that follows
    // another within the same pass of the main loop belongs to its sequence.
    void remember(const std::string& file, bool continuesSequence);

    SoundSystem& inner_;
    SpeechTable table_;
    Wait wait_;
    const Clock& clock_;
    std::map<int, Voice> voices_;
    std::vector<std::string> lastSpeech_;
    bool inSequence_ = false;
    unsigned waitCount_ = 0;
    bool repeating_ = false;
    bool slowVoice_ = false;
    std::function<void(const std::string&)> listener_;
};
