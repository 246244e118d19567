#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <thread>

#include "game_state.h"
#include "openal_sound.h"
#include "voice_arbiter.h"
#include "wave_device.h"
#include "world_fixture.h"

// A scripted fight played through the real device into OpenAL's wave-file
// output: the creature's looping announcement, placed on the left, must be
// silent in the capture while the bullet count (in both ears alike) is said.
namespace {

using Clock = std::chrono::steady_clock;
const wavedevice::TestFolder kFolder;
const std::string kOutput = wavedevice::configureWaveOutput(kFolder);
const std::string kGame = QUORVANE_GAME_DIR;
// The game folder of the fight: its map, and the build's sounds by a link.
const GameDir kFightFolder(kFolder.file("game"));

struct Capture {
    WaveSound sound;
    double countFromMs = 0, countToMs = 0;  // the bullet count, since the device opened

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

Capture playFight(bool arbitrated)
{
    Capture capture;
    const SpeechTable table = SpeechTable::load(kGame + "/" + kSpeechTableFile);
    {
        std::ostringstream notices;
        OpenAlSound device(kFightFolder, notices);
        const auto opened = Clock::now();
        const auto sinceOpen = [&] { return std::chrono::duration<double, std::milli>(Clock::now() - opened).count(); };
        VoiceArbiter arbiter(device, table, [](double ms) {
            std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(ms));
        });
        SoundSystem& sound = arbitrated ? static_cast<SoundSystem&>(arbiter) : device;
        auto frames = [&](int ms) {
            for (const auto end = Clock::now() + std::chrono::milliseconds(ms); Clock::now() < end;) {
                std::this_thread::sleep_for(std::chrono::milliseconds(16));
                if (arbitrated)
                    arbiter.update();
            }
        };

        auto game = std::make_unique<GameState>();
        game->folder = kFightFolder;
        game->firstInit("fight.quorvane", sound);
        EXPECT_TRUE(game->lastLoadError.empty()) << game->lastLoadError;
        game->facing = Facing::East;
        game->bullets = 12;
        Cell& monster = game->cells[game->row][game->col + 1];
        monster = Cell{CellKind::MonsterLeft, 3, 3, 6};

        game->advance();
        // Once the monster's side has been said: a count asked for earlier
        // waits for it.
        frames(2500);
        capture.countFromMs = sinceOpen();
        game->reportBullets("Sonidos/TeQuedan.wav");
        capture.countToMs = sinceOpen();
        frames(1500);
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
    ASSERT_GT(heard.countToMs - heard.countFromMs, 1500) << "the count plays to its end";
    // Before the count and after it, the loop on the left is heard...
    EXPECT_GT(heard.leftOverRight(heard.countFromMs - 1200, heard.countFromMs - 100), 6.0);
    EXPECT_GT(heard.leftOverRight(heard.countToMs + 300, heard.countToMs + 1400), 6.0);
    // ... and while the count speaks only the count, in both ears alike.
    EXPECT_LT(std::abs(heard.leftOverRight(heard.countFromMs + 150, heard.countToMs - 150)), 1.5);

    // Without the arbiter the loop speaks under the count, and the capture
    // shows it.
    const Capture both = playFight(false);
    EXPECT_GT(both.leftOverRight(both.countFromMs + 150, both.countToMs - 150), 2.0);
}

}  // namespace
