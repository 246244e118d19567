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

// With no device the game runs on in silence: every sound that a device
// plays (openal_sound_test plays the same calls) plays nothing and returns at
// once, and the player is told once, whatever is asked of the sound after.
TEST(SilentSound, WithoutADeviceEverySoundFailsAndTheNoticeIsGivenOnce)
{
    ASSERT_TRUE(kConfigured);
    std::ostringstream notices;
    OpenAlSound sound(notices);
    EXPECT_FALSE(sound.hasDevice());
    EXPECT_EQ(sound.noDeviceReason(), "no se pudo abrir el dispositivo");
    EXPECT_LT(sound.outputLatencyMs(), 0.0);

    const std::string file = kFolder.file("sentence.wav");
    wavebytes::writeFile(file, wavebytes::pcmWave(1, 22050, wavebytes::square16(22050, 1, 8000, 0, 50)));
    EXPECT_EQ(sound.openVoice(), -1);
    EXPECT_FALSE(sound.playBlocking(file));
    // The channels the rules use stay closed; a blocking sound still goes
    // to the sound system, which plays nothing.
    SoundChannel channel;
    EXPECT_FALSE(channel.initChannel(file.c_str(), sound));
    EXPECT_FALSE(channel.playBlocking(file.c_str()));
    channel.releaseChannel();

    const std::string text = notices.str();
    EXPECT_NE(text.find("sin sonido"), std::string::npos);
    EXPECT_NE(text.find("silent"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;

    // The system the game starts with is this silent one.
    const auto system = createSoundSystem(GameDir{});
    EXPECT_EQ(system->openVoice(), -1);
    EXPECT_FALSE(system->playBlocking(file));
}
