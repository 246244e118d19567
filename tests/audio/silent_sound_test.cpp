#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "openal_sound.h"
#include "wave_bytes.h"
#include "wave_device.h"

namespace {

const wavedevice::TestFolder kFolder;
const bool kConfigured = wavedevice::configureNoDevice(kFolder);

}  // namespace

// With no device the game runs on in silence: nothing crashes.
TEST(SilentSound, WithoutADeviceEverythingFailsHarmlessly)
{
    ASSERT_TRUE(kConfigured);
    std::ostringstream notices;
    OpenAlSound sound(notices);
    EXPECT_FALSE(sound.hasDevice());
    EXPECT_EQ(sound.noDeviceReason(), "no se pudo abrir el dispositivo");
    EXPECT_LT(sound.outputLatencyMs(), 0.0);

    const std::string text = notices.str();
    EXPECT_NE(text.find("sin sonido"), std::string::npos);
    EXPECT_NE(text.find("silent"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1);

    const std::string file = kFolder.file("sentence.wav");
    wavebytes::writeFile(file, wavebytes::pcmWave(1, 22050, wavebytes::square16(22050, 1, 8000, 0, 50)));

    EXPECT_EQ(sound.openVoice(), -1);
    EXPECT_FALSE(sound.loadVoice(-1, file));
    EXPECT_NE(sound.playVoice(-1, true), 0);
    EXPECT_NE(sound.stopVoice(-1), 0);
    sound.closeVoice(-1);
    EXPECT_FALSE(sound.isVoicePlaying(-1));

    EXPECT_FALSE(sound.playBlocking(file));

    // The channels the rules use stay closed and ignore their calls.
    SoundChannel channel;
    EXPECT_FALSE(channel.initChannel(file.c_str(), sound));
    EXPECT_NE(channel.playFile(file.c_str(), 0, 0, kPlayLooping), 0);
    EXPECT_NE(channel.playCurrent(0, 0, kPlayOnce), 0);
    EXPECT_NE(channel.stopChannel(), 0);
    EXPECT_FALSE(channel.playBlocking(file.c_str()));
    channel.releaseChannel();

    // The system the game starts with is this silent one.
    const auto system = createSoundSystem(GameDir{});
    EXPECT_EQ(system->openVoice(), -1);
    EXPECT_FALSE(system->playBlocking(file));
}
