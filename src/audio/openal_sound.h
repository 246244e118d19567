#pragma once
#include <chrono>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "game_dir.h"
#include "sound.h"

struct OpenAlOutput;

// The game's sound over OpenAL: one device and context for the whole game,
// one source and one buffer per voice, so sounds on different voices mix and
// a voice never plays two sounds at once.
//
// Sound files are named as the game names them (Sonidos/Pasos.wav) and
// read from the game folder it is given. With no usable device the game runs
// silent: the constructor says so once on the notice stream and every
// operation then fails harmlessly.
//
// Its context is made current for the whole process, so one instance lives
// at a time; every call comes from the game's one thread.
class OpenAlSound : public SoundSystem {
public:
    OpenAlSound(GameDir folder, std::ostream& notices);
    explicit OpenAlSound(GameDir folder);
    // No game folder: files are read by the names given.
    explicit OpenAlSound(std::ostream& notices);
    OpenAlSound();
    ~OpenAlSound() override;
    OpenAlSound(const OpenAlSound&) = delete;
    OpenAlSound& operator=(const OpenAlSound&) = delete;

    int openVoice() override;
    void closeVoice(int voice) override;
    bool loadVoice(int voice, const std::string& file) override;
    int playVoice(int voice, bool looping) override;
    int stopVoice(int voice) override;
    bool playBlocking(const std::string& file) override;

    // Reads and decodes a file into the cache, as its first load would, so
    // that the start check's reading is the only one: empty when it can be
    // played, otherwise "file: reason" (Spanish). Without a device the file
    // is only read, to name it if it cannot be.
    std::string preload(const std::string& file);

    // Called before a blocking sound starts and over and over while it
    // plays, so the program can keep answering its desktop and its player;
    // it must not start or stop blocking sounds. False stops the sound at
    // once and cuts the stretch under way short.
    void setWhileBlocking(std::function<bool()> whileBlocking) { whileBlocking_ = std::move(whileBlocking); }

    void beginStretch(Stretch kind) override;
    void endStretch() override;
    bool stretchCut() const override { return cut_; }
    // The stretch under way; Fixed outside a marked one.
    Stretch stretch() const { return stretch_; }
    // Skips every blocking sound left in the stretch under way; nothing
    // outside a stretch.
    void cutStretch();

    bool hasDevice() const;
    // Why there is no device, in Spanish, for the player; empty with one.
    const std::string& noDeviceReason() const { return noDeviceReason_; }
    // The OpenAL Soft settings refused at start, in Spanish; empty when none.
    const std::string& settingsNotice() const { return settingsNotice_; }
    // The output latency the device reports, in milliseconds; negative when
    // there is no device or it cannot tell.
    double outputLatencyMs() const;

    // Stops the device's mixing once no voice has sounded for a few seconds,
    // so a game waiting in silence for its player costs no processor time in
    // the mixer; the next sound started wakes the device first. A child who
    // keeps playing never waits on that wake: a real device may take a moment
    // to resume. Nothing when the device cannot pause.
    void restWhenSilent();

    // Inspection for tests and diagnostics.
    bool isVoicePlaying(int voice) const override;
    // Position in sample frames within the held sound; -1 without one.
    long voiceSampleOffset(int voice) const;
    // Whether the device's mixing is stopped for want of sound.
    bool isResting() const { return resting_; }
    // Called on the game's thread right after a voice's source starts, so a
    // measurement can time the start; none by default.
    void setPlayObserver(std::function<void(int voice)> observer) { playObserver_ = std::move(observer); }

private:
    struct Voice {
        unsigned source = 0;
        unsigned buffer = 0;  // one of cache_'s, not the voice's own
        bool open = false;
    };
    // A file's sound, read and decoded at its first load and kept for the
    // program's life: the game plays the same few files over and over.
    // buffer 0: the file could not be loaded (not tried again).
    struct Cached {
        unsigned buffer = 0;
        double seconds = 0;
        std::string problem;  // why the file could not be read, if it could not
    };
    const Cached& cached(const std::string& file);

    Voice* findVoice(int voice);
    const Voice* findVoice(int voice) const;
    void setUpSource(unsigned source) const;
    void wakeDevice();
    bool waitForEnd(unsigned source, double seconds);

    GameDir folder_;
    std::unique_ptr<OpenAlOutput> output_;
    std::string noDeviceReason_;
    std::string settingsNotice_;
    std::vector<Voice> voices_;
    std::unordered_map<std::string, Cached> cache_;
    std::function<bool()> whileBlocking_;
    Stretch stretch_ = Stretch::Fixed;
    bool cut_ = false;
    bool resting_ = false;
    std::chrono::steady_clock::time_point lastHeard_ = std::chrono::steady_clock::now();
    std::function<void(int voice)> playObserver_;
};

// The sound system the game uses, playing the files of folder; the shell
// calls it once at start.
std::unique_ptr<SoundSystem> createSoundSystem(const GameDir& folder);
