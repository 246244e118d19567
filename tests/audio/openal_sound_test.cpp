#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

#include "openal_sound.h"
#include "wave_bytes.h"
#include "wave_device.h"

using namespace std::chrono_literals;
using namespace wavebytes;

namespace {

const wavedevice::TestFolder kFolder;
const std::string kOutput = wavedevice::configureWaveOutput(kFolder);
constexpr uint32_t kRate = 44100;

// Sounds are short: the wave backend mixes in real time.
std::string soundFile(const std::string& name, const Bytes& wave)
{
    const std::string path = kFolder.file(name);
    writeFile(path, wave);
    return path;
}

std::string tone(const std::string& name, double seconds, int16_t amplitude = 8000)
{
    return soundFile(name, pcmWave(1, kRate, square16(uint32_t(seconds * kRate), 1, amplitude, 0, 100)));
}

bool waitUntilQuiet(const OpenAlSound& sound, int voice)
{
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (sound.isVoicePlaying(voice)) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

// The waits follow the mixer's progress, not the wall clock, so a busy
// machine only makes them longer; the deadlines are for a broken device.
bool waitForOffset(const OpenAlSound& sound, int voice, long frames)
{
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (sound.voiceSampleOffset(voice) < frames) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// Waits until a looping voice has gone back to its beginning `loops` times.
// A poll that misses a whole loop only makes the wait longer.
bool waitForLoops(const OpenAlSound& sound, int voice, int loops)
{
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    long last = sound.voiceSampleOffset(voice);
    for (int seen = 0; seen < loops;) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(1ms);
        const long now = sound.voiceSampleOffset(voice);
        seen += now < last;
        last = now;
    }
    return true;
}

// Waits until the mixer has run at least `seconds` of output, timed by a
// silent voice of its own.
bool waitForMixing(OpenAlSound& sound, const std::string& silence, double seconds)
{
    const int clock = sound.openVoice();
    const bool mixed = clock >= 0 && sound.loadVoice(clock, silence) && sound.playVoice(clock, false) == 0 &&
                       waitForOffset(sound, clock, long(seconds * kRate));
    sound.closeVoice(clock);
    return mixed;
}

class OpenAlSoundTest : public ::testing::Test {
protected:
    // The device writes its output file completely when it closes.
    WaveSound finish()
    {
        sound.reset();
        return wavedevice::readOutput(kOutput);
    }

    std::ostringstream notices;
    std::unique_ptr<OpenAlSound> sound = std::make_unique<OpenAlSound>(notices);
};

}  // namespace

TEST_F(OpenAlSoundTest, AVoicePlaysItsSoundOnceIntoTheOutput)
{
    ASSERT_TRUE(sound->hasDevice());
    EXPECT_TRUE(notices.str().empty());
    EXPECT_GT(sound->outputLatencyMs(), 0.0);

    const int voice = sound->openVoice();
    ASSERT_GE(voice, 0);
    ASSERT_TRUE(sound->loadVoice(voice, tone("once.wav", 0.2)));
    EXPECT_EQ(sound->playVoice(voice, false), 0);
    EXPECT_TRUE(sound->isVoicePlaying(voice));
    ASSERT_TRUE(waitUntilQuiet(*sound, voice));

    const WaveSound out = finish();
    EXPECT_GT(wavedevice::peak(out, 0), 2000);
    // Played once: about 0.2 s of sound, not a repeat.
    EXPECT_GT(wavedevice::loudFrames(out), long(0.15 * kRate));
    EXPECT_LT(wavedevice::loudFrames(out), long(0.3 * kRate));
}

TEST_F(OpenAlSoundTest, ThirteenVoicesPlayAtOnceAndMix)
{
    // Constant stereo samples sum exactly, so the mix shows how many voices
    // sounded together.
    const std::string file = soundFile("level.wav", pcmWave(2, kRate, square16(uint32_t(0.3 * kRate), 2, 1000, 1000, 0)));
    std::vector<int> voices;
    for (int i = 0; i < 13; ++i) {
        voices.push_back(sound->openVoice());
        ASSERT_GE(voices.back(), 0);
        ASSERT_TRUE(sound->loadVoice(voices.back(), file));
    }
    for (int voice : voices)
        EXPECT_EQ(sound->playVoice(voice, false), 0);
    for (int voice : voices)
        EXPECT_TRUE(sound->isVoicePlaying(voice)) << voice;
    for (int voice : voices)
        ASSERT_TRUE(waitUntilQuiet(*sound, voice));

    const WaveSound out = finish();
    EXPECT_GT(wavedevice::peak(out, 0), 12000);
    EXPECT_LT(wavedevice::peak(out, 0), 14000);
}

TEST_F(OpenAlSoundTest, ALoopingSoundRepeatsUntilStopped)
{
    const int voice = sound->openVoice();
    ASSERT_TRUE(sound->loadVoice(voice, tone("loop.wav", 0.1)));
    ASSERT_EQ(sound->playVoice(voice, true), 0);
    ASSERT_TRUE(waitForLoops(*sound, voice, 4));
    EXPECT_TRUE(sound->isVoicePlaying(voice));
    EXPECT_EQ(sound->stopVoice(voice), 0);
    EXPECT_FALSE(sound->isVoicePlaying(voice));

    // Well over three lengths of the sound came out.
    EXPECT_GT(wavedevice::loudFrames(finish()), long(0.3 * kRate));
}

TEST_F(OpenAlSoundTest, StopThenPlayResumesWhereItStopped)
{
    const int voice = sound->openVoice();
    ASSERT_TRUE(sound->loadVoice(voice, tone("resume.wav", 0.3)));
    ASSERT_EQ(sound->playVoice(voice, false), 0);
    // Stop about a third of the way in, however busy the machine is.
    ASSERT_TRUE(waitForOffset(*sound, voice, long(0.1 * kRate)));
    ASSERT_EQ(sound->stopVoice(voice), 0);
    const long stoppedAt = sound->voiceSampleOffset(voice);
    ASSERT_GE(stoppedAt, long(0.1 * kRate));
    ASSERT_LT(stoppedAt, long(0.3 * kRate));
    ASSERT_TRUE(waitForMixing(*sound, tone("silence.wav", 0.1, 0), 0.06));
    EXPECT_EQ(sound->voiceSampleOffset(voice), stoppedAt);

    ASSERT_EQ(sound->playVoice(voice, false), 0);
    EXPECT_GE(sound->voiceSampleOffset(voice), stoppedAt);
    ASSERT_TRUE(waitUntilQuiet(*sound, voice));

    // Resumed, not restarted: the sound came out about once in all.
    const long loud = wavedevice::loudFrames(finish());
    EXPECT_LT(loud, long(0.3 * kRate) + stoppedAt / 2);
    EXPECT_GT(loud, long(0.25 * kRate));
}

TEST_F(OpenAlSoundTest, PlayingAgainWhilePlayingGoesOnAndMayTurnOnLooping)
{
    const int voice = sound->openVoice();
    ASSERT_TRUE(sound->loadVoice(voice, tone("again.wav", 0.15)));
    ASSERT_EQ(sound->playVoice(voice, false), 0);
    ASSERT_TRUE(waitForOffset(*sound, voice, long(0.05 * kRate)));
    const long before = sound->voiceSampleOffset(voice);
    ASSERT_EQ(sound->stopVoice(voice), 0);
    // Looping switched on while paused takes effect on resuming.
    ASSERT_EQ(sound->playVoice(voice, true), 0);
    EXPECT_GE(sound->voiceSampleOffset(voice), before);
    ASSERT_EQ(sound->playVoice(voice, true), 0);
    EXPECT_GE(sound->voiceSampleOffset(voice), before);
    // Past its end it starts over instead of stopping.
    ASSERT_TRUE(waitForLoops(*sound, voice, 1));
    EXPECT_TRUE(sound->isVoicePlaying(voice));
}

TEST_F(OpenAlSoundTest, ALoadReplacesTheSoundAndAFailedOneLeavesSilence)
{
    const int voice = sound->openVoice();
    EXPECT_NE(sound->playVoice(voice, false), 0);
    EXPECT_NE(sound->stopVoice(voice), 0);

    ASSERT_TRUE(sound->loadVoice(voice, tone("first.wav", 0.3)));
    ASSERT_EQ(sound->playVoice(voice, true), 0);
    ASSERT_TRUE(waitForOffset(*sound, voice, long(0.05 * kRate)));

    // A fresh load silences the old sound and waits at its own beginning.
    ASSERT_TRUE(sound->loadVoice(voice, tone("second.wav", 0.2)));
    EXPECT_FALSE(sound->isVoicePlaying(voice));
    EXPECT_EQ(sound->voiceSampleOffset(voice), 0);

    // A file that cannot be loaded, while the voice plays or after: the old
    // sound stops and nothing is left to play in the new one's place.
    Bytes notWave = pcmWave(1, kRate, square16(100, 1, 8000, 0, 10));
    notWave[8] = 'X';
    for (const std::string& bad : {soundFile("broken.wav", notWave), std::string("no/such/file.wav")}) {
        SCOPED_TRACE(bad);
        ASSERT_TRUE(sound->loadVoice(voice, tone("first.wav", 0.3)));
        ASSERT_EQ(sound->playVoice(voice, true), 0);
        EXPECT_FALSE(sound->loadVoice(voice, bad));
        EXPECT_FALSE(sound->isVoicePlaying(voice));
        EXPECT_NE(sound->playVoice(voice, false), 0);
        EXPECT_FALSE(sound->isVoicePlaying(voice));
    }

    // Each file is read and decoded once: gone or spoilt since, it still
    // plays as it was first read; one that failed stays refused.
    const std::string kept = tone("kept.wav", 0.2);
    ASSERT_TRUE(sound->loadVoice(voice, kept));
    std::filesystem::remove(kept);
    const std::string broken = soundFile("broken.wav", pcmWave(1, kRate, square16(100, 1, 8000, 0, 10)));
    const int other = sound->openVoice();
    for (int v : {voice, other}) {
        EXPECT_TRUE(sound->loadVoice(v, kept));
        EXPECT_EQ(sound->playVoice(v, false), 0);
        EXPECT_FALSE(sound->loadVoice(v, broken));
    }
    // The start check's reading is the one kept: preloaded and gone since,
    // a file still plays; one that cannot be read is named with its reason.
    const std::string early = tone("early.wav", 0.2);
    EXPECT_EQ(sound->preload(early), "");
    std::filesystem::remove(early);
    EXPECT_TRUE(sound->loadVoice(other, early));
    EXPECT_EQ(sound->preload("no/such/file.wav").rfind("no/such/file.wav: ", 0), 0u);

    sound->closeVoice(voice);
    EXPECT_FALSE(sound->loadVoice(voice, tone("first.wav", 0.3)));
    EXPECT_NE(sound->playVoice(voice, false), 0);
    EXPECT_NE(sound->playVoice(99, false), 0);
}

TEST_F(OpenAlSoundTest, StereoSoundsKeepTheirSides)
{
    // A sound recorded hard left must not leak into the right speaker: the
    // player hears from which side a creature stands.
    const std::string left = soundFile("left.wav", pcmWave(2, kRate, square16(uint32_t(0.2 * kRate), 2, 8000, 0, 100)));
    const int voice = sound->openVoice();
    ASSERT_TRUE(sound->loadVoice(voice, left));
    ASSERT_EQ(sound->playVoice(voice, false), 0);
    ASSERT_TRUE(waitUntilQuiet(*sound, voice));

    const WaveSound out = finish();
    EXPECT_GT(wavedevice::peak(out, 0), 6000);
    EXPECT_LT(wavedevice::peak(out, 1), 200);
}

TEST_F(OpenAlSoundTest, BlockingPlaybackReturnsWhenItsSoundHasEnded)
{
    const int music = sound->openVoice();
    ASSERT_TRUE(sound->loadVoice(music, tone("music.wav", 0.1, 1000)));
    ASSERT_EQ(sound->playVoice(music, true), 0);
    // A silent voice started just before the call times it on the mixer; it
    // outlasts the longest wait the call may make.
    const std::string sentence = tone("sentence.wav", 0.25);
    const int clock = sound->openVoice();
    ASSERT_TRUE(sound->loadVoice(clock, tone("clock.wav", 5, 0)));
    ASSERT_EQ(sound->playVoice(clock, false), 0);

    EXPECT_TRUE(sound->playBlocking(sentence));
    EXPECT_GE(sound->voiceSampleOffset(clock), long(0.25 * kRate));
    // The voice playing underneath goes on.
    EXPECT_TRUE(sound->isVoicePlaying(music));

    EXPECT_FALSE(sound->playBlocking("no/such/sentence.wav"));
}

TEST_F(OpenAlSoundTest, AStretchCutShortStopsItsSoundAndSkipsTheRestOfIt)
{
    const std::string sentence = tone("long.wav", 5);
    int calls = 0;
    sound->setWhileBlocking([&] { return ++calls < 3; });
    sound->beginStretch(Stretch::Answer);
    EXPECT_FALSE(sound->playBlocking(sentence));
    EXPECT_EQ(calls, 3);
    EXPECT_TRUE(sound->stretchCut());
    // The rest of the stretch is skipped without a sound.
    EXPECT_FALSE(sound->playBlocking(sentence));
    EXPECT_EQ(calls, 3);
    sound->endStretch();
    EXPECT_FALSE(sound->stretchCut());

    sound->setWhileBlocking([] { return true; });
    EXPECT_TRUE(sound->playBlocking(tone("short.wav", 0.1)));
}
