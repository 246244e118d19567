#include <gtest/gtest.h>

#include <AL/alc.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "alsoft_settings.h"
#include "openal_sound.h"
#include "wave_device.h"

namespace {

TEST(AlsoftSettings, OnlyGeneralValuesOutOfRangeAreRefusedAndTheStandInKeepsTheRest)
{
    const char* text = "[General]\nFrequency = 48000\nperiods=1 # one\nsends = lots\n[alsa]\nfrequency=999999999\n";
    const auto refused = refusedSettings("x.conf", text);
    ASSERT_EQ(refused.size(), 2u);
    EXPECT_EQ(refused[0].key + "=" + refused[0].value + " " + refused[1].key + "=" + refused[1].value,
              "periods=1 sends=lots");
    const std::string standIn = settingsWithout(text, refused);
    EXPECT_TRUE(refusedSettings("y.conf", standIn).empty()) << standIn;
    for (const char* kept : {"Frequency = 48000", "[alsa]\nfrequency=999999999", "periods = 4", "sends = 2"})
        EXPECT_NE(standIn.find(kept), std::string::npos) << kept << " in\n" << standIn;
}

TEST(AlsoftSettings, TheGameStartsWithItsOwnSettingsAndSaysSo)
{
    const wavedevice::TestFolder folder;
    const std::string conf = folder.file("alsoft.conf");
    std::ofstream(conf) << "[general]\nfrequency = 999999999\nperiod_size = 128\n";
    // Only this folder's settings: no user's or system's file in the way.
    ::setenv("HOME", folder.path.c_str(), 1);
    ::setenv("XDG_CONFIG_DIRS", folder.path.c_str(), 1);
    ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("ALSOFT_CONF", conf.c_str(), 1);
    ::setenv("ALSOFT_DRIVERS", "null", 1);

    std::ostringstream notices;
    const OpenAlSound sound(notices);
    ASSERT_TRUE(sound.hasDevice()) << notices.str();
    EXPECT_NE(sound.settingsNotice().find("frequency=999999999 (" + conf + ")"), std::string::npos)
        << sound.settingsNotice();
    EXPECT_NE(notices.str().find(sound.settingsNotice()), std::string::npos);
    ALCint frequency = 0;
    alcGetIntegerv(alcGetContextsDevice(alcGetCurrentContext()), ALC_FREQUENCY, 1, &frequency);
    EXPECT_EQ(frequency, 44100);
    // The stand-in it was read from is not left behind.
    const char* standIn = std::getenv("ALSOFT_CONF");
    ASSERT_NE(standIn, nullptr);
    EXPECT_NE(std::string(standIn), conf);
    EXPECT_FALSE(std::filesystem::exists(standIn));
}

// The game no longer plays from inside its folder: its own settings are
// handed to OpenAL Soft by their whole path, and a value refused there is
// named as the game names the file.
TEST(AlsoftSettings, TheGameFoldersSettingsAreFoundFromAnyWorkingDirectory)
{
    const wavedevice::TestFolder folder;
    ::setenv("HOME", folder.path.c_str(), 1);
    ::setenv("XDG_CONFIG_DIRS", folder.path.c_str(), 1);
    ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("ALSOFT_DRIVERS", "null", 1);
    for (const char* periods : {"1", "4"}) {
        SCOPED_TRACE(periods);
        ::unsetenv("ALSOFT_CONF");
        std::ofstream(folder.file("alsoft.conf")) << "[general]\nperiods = " << periods << "\n";
        std::ostringstream notices;
        const OpenAlSound sound(GameDir(folder.path), notices);
        const char* handed = std::getenv("ALSOFT_CONF");
        ASSERT_NE(handed, nullptr);
        if (std::string(periods) == "1") {
            EXPECT_NE(sound.settingsNotice().find("periods=1 (alsoft.conf)"), std::string::npos)
                << sound.settingsNotice();
        } else {
            EXPECT_EQ(sound.settingsNotice(), "");
            EXPECT_EQ(std::string(handed), folder.file("alsoft.conf"));
        }
    }
}

}  // namespace
