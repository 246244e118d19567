#pragma once
#include <string>

// What a stretch of blocking playback is to the player, so the layer that
// reads the keys may let one cut it short. Blocking playback outside any
// marked stretch (a door opening) is Fixed: no key cuts it.
enum class Stretch {
    Fixed,
    Answer,   // what the player asked to hear (where am I, bullets, repeat)
    Ending,   // the start of a level's ending, up to its closing sentence
    Closing,  // an ending's closing sentence: which keys play on
};

// The rules play sounds through channels; what actually makes the sound is a
// SoundSystem behind them (OpenAL in the game, a recorder in tests, or none).
//
// A voice is one source of sound with the one sound it holds. Loading a file
// replaces the held sound; a file that cannot be read leaves the voice
// silent, holding nothing: a player who cannot see must never hear another
// letter or another creature in place of the one that failed.
class SoundSystem {
public:
    virtual ~SoundSystem() = default;

    // A new voice, or -1 when the system has no device.
    virtual int openVoice() = 0;
    virtual void closeVoice(int voice) = 0;
    virtual bool loadVoice(int voice, const std::string& file) = 0;
    // Starts the held sound from where it was last stopped (its beginning
    // after a load). Zero on success.
    virtual int playVoice(int voice, bool looping) = 0;
    // Halts where the sound is; the sound stays loaded. Zero on success.
    virtual int stopVoice(int voice) = 0;
    // Plays the file to its end before returning; false when it cannot.
    virtual bool playBlocking(const std::string& file) = 0;

    // Whether the voice is sounding now; systems that cannot tell say no.
    virtual bool isVoicePlaying(int /*voice*/) const { return false; }
    // Says again, to its end, the last thing said; false when the system
    // keeps no such memory or nothing has been said.
    virtual bool repeatLastSpeech() { return false; }

    // Whether the sentence the voice started with has been heard to its last
    // word (or there is nothing to wait for: no sentence, nothing playing).
    // A creature moves only once the player has heard where it stands.
    virtual bool saidInFull(int /*voice*/) const { return true; }
    // Whether the voice is in the middle of a sentence, or held back by
    // another one, so that what it says now must not be cut.
    virtual bool isSpeaking(int /*voice*/) const { return false; }
    // Marks the sound the voice holds as one the player must hear to its
    // end: no later sentence cuts it, they wait for it.
    virtual void setMustHear(int /*voice*/, bool /*mustHear*/) {}

    // Marks the blocking playback that follows, until endStretch(), as one
    // stretch of the kind given. Systems that cannot cut a sound short
    // ignore the marks.
    virtual void beginStretch(Stretch /*kind*/) {}
    virtual void endStretch() {}
    // True once the stretch under way has been cut short: its remaining
    // blocking sounds are then skipped, and playBlocking says false.
    virtual bool stretchCut() const { return false; }

    // Speaks every sentence from now on with the slow copy of its file, where
    // the game folder has one (slow true), or with the usual one.
    virtual void useSlowVoice(bool /*slow*/) {}
};

// Marks a stretch for as long as it lives.
class StretchScope {
public:
    StretchScope(SoundSystem* sounds, Stretch kind) : sounds_(sounds)
    {
        if (sounds_ != nullptr)
            sounds_->beginStretch(kind);
    }
    ~StretchScope()
    {
        if (sounds_ != nullptr)
            sounds_->endStretch();
    }
    StretchScope(const StretchScope&) = delete;
    StretchScope& operator=(const StretchScope&) = delete;

private:
    SoundSystem* sounds_;
};

// Play flags, as the rules pass them.
constexpr int kPlayOnce = 0;
constexpr int kPlayLooping = 1;
// Priorities, as the rules pass them: a sentence the player needs in full.
constexpr int kPriorityNormal = 0;
constexpr int kPriorityMustHear = 1;

struct SoundChannel {
    SoundSystem* system = nullptr;
    int voice = -1;

    // Opens the channel with its first sound; releases what it held first.
    bool initChannel(const char* file, SoundSystem& sounds);
    int playFile(const char* file, int reserved, int priority, int flags);
    int playCurrent(int reserved, int priority, int flags);
    int stopChannel();
    bool playBlocking(const char* file);
    void releaseChannel();

    bool isOpen() const { return system != nullptr && voice >= 0; }
    bool isPlaying() const { return isOpen() && system->isVoicePlaying(voice); }
    bool saidInFull() const { return !isOpen() || system->saidInFull(voice); }
    bool isSpeaking() const { return isOpen() && system->isSpeaking(voice); }
};
