#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "game_dir.h"

// OpenAL Soft reads its settings from files (the system's, the user's, then
// the one ALSOFT_CONF names, the game folder's by default) at its first call.
// A value far out of range (frequency=999999999) makes its mixer work for
// ever and the game stops answering, even to Esc; such values are refused
// before the library starts.

struct RefusedSetting {
    std::string file;
    std::string key;  // lower case, as OpenAL Soft compares it
    std::string value;
};

// The [general] values in a settings file's text that are not numbers within
// the range the game can play with (frequency, period_size, periods, sources,
// sends, slots).
std::vector<RefusedSetting> refusedSettings(const std::string& file, std::string_view text);

// The text of a settings file standing in for one with refused values: its
// lines but those values, then a [general] section giving each refused key
// the game's own value (the game folder's period_size=128 and periods=4,
// 44100 Hz, ...), so that it wins over every file read before it.
std::string settingsWithout(std::string_view text, const std::vector<RefusedSetting>& refused);

// The game folder's own settings, which the game hands OpenAL Soft.
inline constexpr const char* kGameAlsoftFile = "alsoft.conf";

// The files OpenAL Soft reads, in its order, ending with the one the game
// hands it (ALSOFT_CONF, when set).
std::vector<std::string> alsoftSettingsFiles();

// Checks every settings file; when some value is refused, writes a stand-in
// for the last file to a private temporary file, points ALSOFT_CONF at it and
// returns its name (to be removed once the device is open) with a Spanish
// sentence naming each refused value in notice (the game folder's file by
// its name, alsoft.conf). Empty when all is well.
std::string refuseInsaneSettings(std::string& notice, const GameDir& folder = {});
