#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <thread>

#define AL_ALEXT_PROTOTYPES
#include <AL/alc.h>
#include <AL/alext.h>

#include "catalogue.h"
#include "game_state.h"
#include "openal_sound.h"
#include "voice_arbiter.h"
#include "wave_device.h"
#include "world_fixture.h"

// A scripted fight played through the real device into OpenAL's wave-file
// output: the creature's looping announcement, placed on the left, must be
// silent in the capture while the bullet count (in both ears alike) is said.
namespace {

const wavedevice::TestFolder kFolder;
const std::string kOutput = wavedevice::configureWaveOutput(kFolder);
const std::string kGame = QUORVANE_GAME_DIR;
// The game folder of the fight: its map, and the build's sounds by a link.
const GameDir kFightFolder(kFolder.file("game"));

// Where the device's mixing stands, in milliseconds of output since it
// opened: the position in the captured file, whatever the wall clock did.
double mixedMs()
{
    ALCint64SOFT nanoseconds = 0;
    alcGetInteger64vSOFT(alcGetContextsDevice(alcGetCurrentContext()), ALC_DEVICE_CLOCK_SOFT, 1, &nanoseconds);
    return double(nanoseconds) / 1e6;
}

// The length of a sound file of the game, in milliseconds.
double lengthMs(const char* file)
{
    WaveSound wave;
    EXPECT_TRUE(loadWaveFile(kGame + "/" + file, wave)) << file;
    return 1000.0 * wave.seconds();
}

struct Capture {
    WaveSound sound;
    double countFromMs = 0, countToMs = 0;  // the bullet count, in the output
    double sideSaidMs = 0;                  // the monster's side said in full

    // How much louder the left ear is than the right over a stretch, in dB.
    double leftOverRight(double fromMs, double toMs) const
    {
        const size_t frames = sound.samples.size() / 4;
        double left = 1e-9, right = 1e-9;
        for (size_t f = size_t(fromMs * sound.sampleRate / 1000); f < frames && f < size_t(toMs * sound.sampleRate / 1000); ++f) {
            const auto sample = [&](int ch) {
                return double(int16_t(uint16_t(sound.samples[f * 4 + ch * 2] | sound.samples[f * 4 + ch * 2 + 1] << 8)));
            };
            left += sample(0) * sample(0);
            right += sample(1) * sample(1);
        }
        return 10 * std::log10(left / right);
    }
};

// Runs main-loop frames until the condition holds; false when it never does
// within a bound far beyond the sounds' lengths, so a fault cannot hang.
bool framesUntil(VoiceArbiter* arbiter, const std::function<bool()>& done)
{
    for (int frame = 0; frame < 2000; ++frame) {
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(16));
        if (arbiter)
            arbiter->update();
    }
    return done();
}

void fight(GameState& game, VoiceArbiter* arbiter, Capture& capture)
{
    game.player.facing = Facing::East;
    game.player.bullets = 12;
    game.cells[game.player.row][game.player.col + 1] = Cell{CellKind::MonsterLeft, 3, 3, 6};
    game.advance();
    // Once the monster's side has been said and its loop heard alone for a
    // while: a count asked for earlier waits for it.
    ASSERT_TRUE(framesUntil(arbiter, [&] { return game.channels.SonidoMonstruos.saidInFull(); }));
    capture.sideSaidMs = mixedMs();
    ASSERT_TRUE(framesUntil(arbiter, [&] { return mixedMs() > capture.sideSaidMs + 1300; }));
    capture.countFromMs = mixedMs();
    game.reportBullets(catalogue::TeQuedan.file);
    capture.countToMs = mixedMs();
    // The loop held back by the count goes on, and is heard again.
    ASSERT_TRUE(framesUntil(arbiter, [&] {
        return game.channels.SonidoMonstruos.isPlaying() && mixedMs() > capture.countToMs + 1500;
    }));
}

Capture playFight(bool arbitrated)
{
    Capture capture;
    const SpeechTable table = SpeechTable::load(kGame + "/" + kSpeechTableFile);
    {
        std::ostringstream notices;
        OpenAlSound device(kFightFolder, notices);
        VoiceArbiter arbiter(device, table, [](double ms) {
            std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(ms));
        });
        SoundSystem& sound = arbitrated ? static_cast<SoundSystem&>(arbiter) : device;
        auto game = std::make_unique<GameState>();
        game->folder = kFightFolder;
        game->firstInit("fight.quorvane", sound);
        EXPECT_TRUE(game->lastLoadError.empty()) << game->lastLoadError;
        fight(*game, arbitrated ? &arbiter : nullptr, capture);
        game.reset();
    }
    capture.sound = wavedevice::readOutput(kOutput);
    return capture;
}

class OneVoiceCaptureTest : public testing::Test {
protected:
    void SetUp() override
    {
        // The rules name their sounds relative to the game folder.
        namespace fs = std::filesystem;
        fs::create_directories(kFightFolder.root());
        if (!fs::exists(kFightFolder.file("Sonidos")))
            fs::create_directory_symlink(kGame + "/Sonidos", kFightFolder.file("Sonidos"));
        writeFile(kFightFolder.file("fight.quorvane"), mapText({"S.."}));
    }
};

TEST_F(OneVoiceCaptureTest, TheLoopIsSilentWhileTheBulletCountIsSaid)
{
    const Capture heard = playFight(true);
    // The count is said to its end: the device mixed at least its three
    // files while the game waited for it.
    const double countMs = lengthMs(catalogue::TeQuedan.file) + lengthMs(catalogue::kBulletCounts[12].file) +
                           lengthMs(catalogue::Balas.file);
    ASSERT_GE(heard.countToMs - heard.countFromMs, countMs - 1);
    // Before the count and after it, the loop on the left is heard...
    EXPECT_GT(heard.leftOverRight(heard.sideSaidMs + 100, heard.countFromMs - 100), 6.0);
    EXPECT_GT(heard.leftOverRight(heard.countToMs + 300, heard.countToMs + 1400), 6.0);
    // ... and while the count speaks only the count, in both ears alike.
    EXPECT_LT(std::abs(heard.leftOverRight(heard.countFromMs + 150, heard.countToMs - 150)), 1.5);

    // Without the arbiter the loop speaks under the count, and the capture
    // shows it.
    const Capture both = playFight(false);
    EXPECT_GT(both.leftOverRight(both.countFromMs + 150, both.countToMs - 150), 2.0);
}

}  // namespace
