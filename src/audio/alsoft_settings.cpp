#include "alsoft_settings.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "regular_file.h"

namespace {

struct Range {
    const char* key;
    long long low;
    long long high;
    const char* gameValue;
};
// Wide enough for every real card and setup; the game's own values are the
// game folder's (see alsoft.conf) and OpenAL Soft's usual ones.
constexpr Range kRanges[] = {
    {"frequency", 8000, 192000, "44100"}, {"period_size", 64, 8192, "128"}, {"periods", 2, 16, "4"},
    {"sources", 16, 4096, "256"},         {"sends", 0, 16, "2"},            {"slots", 1, 256, "64"},
};

// Settings files are small; a larger one is not read through.
constexpr uint64_t kMaxSettingsBytes = uint64_t{1} << 20;

std::string trimmed(std::string_view text)
{
    const size_t begin = text.find_first_not_of(" \t\r");
    if (begin == std::string_view::npos)
        return {};
    const size_t end = text.find_last_not_of(" \t\r");
    return std::string(text.substr(begin, end - begin + 1));
}

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

bool inRange(const std::string& value, const Range& range)
{
    std::string bare = value;
    if (bare.size() >= 2 && (bare.front() == '"' || bare.front() == '\'') && bare.back() == bare.front())
        bare = bare.substr(1, bare.size() - 2);
    if (bare.empty() || bare.size() > 12 || bare.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const long long number = std::stoll(bare);
    return number >= range.low && number <= range.high;
}

// Calls act(line, key, value, general) for each "key = value" line.
template <typename Act>
void eachSetting(std::string_view text, Act act)
{
    bool general = true;  // keys before any section are general ones
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(start, end - start);
        const std::string content = trimmed(line.substr(0, line.find('#')));
        if (!content.empty() && content.front() == '[') {
            general = lower(content) == "[general]";
            act(line, std::string(), std::string(), general);
        } else if (const size_t equals = content.find('='); equals != std::string::npos) {
            act(line, lower(trimmed(std::string_view(content).substr(0, equals))),
                trimmed(std::string_view(content).substr(equals + 1)), general);
        } else {
            act(line, std::string(), std::string(), general);
        }
        start = end + 1;
    }
}

const Range* rangeOf(const std::string& key)
{
    for (const Range& range : kRanges)
        if (key == range.key)
            return &range;
    return nullptr;
}

bool isRefused(const std::vector<RefusedSetting>& refused, const std::string& key, bool general)
{
    return general && std::any_of(refused.begin(), refused.end(), [&](const RefusedSetting& r) { return r.key == key; });
}

// A private file holding the settings the library is to read instead: its
// name, or empty when it could not be written whole.
std::string writeStandIn(const std::string& replacement)
{
    const char* tmp = std::getenv("TMPDIR");
    std::string name = std::string(tmp && *tmp ? tmp : "/tmp") + "/quorvane-alsoft-XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        return {};
    const bool written = ::write(fd, replacement.data(), replacement.size()) == ssize_t(replacement.size());
    ::close(fd);
    if (!written) {
        ::unlink(name.c_str());
        return {};
    }
    return name;
}
}  // namespace

std::vector<RefusedSetting> refusedSettings(const std::string& file, std::string_view text)
{
    std::vector<RefusedSetting> refused;
    eachSetting(text, [&](std::string_view, const std::string& key, const std::string& value, bool general) {
        const Range* range = rangeOf(key);
        if (general && range != nullptr && !inRange(value, *range))
            refused.push_back({file, key, value});
    });
    return refused;
}

std::string settingsWithout(std::string_view text, const std::vector<RefusedSetting>& refused)
{
    std::string out;
    eachSetting(text, [&](std::string_view line, const std::string& key, const std::string&, bool general) {
        if (!isRefused(refused, key, general))
            out.append(line).append("\n");
    });
    out += "\n# The game's own values in place of those refused.\n[general]\n";
    for (const Range& range : kRanges)
        if (std::any_of(refused.begin(), refused.end(), [&](const RefusedSetting& r) { return r.key == range.key; }))
            out += std::string(range.key) + " = " + range.gameValue + "\n";
    return out;
}

std::vector<std::string> alsoftSettingsFiles()
{
    std::vector<std::string> files;
    const char* dirs = std::getenv("XDG_CONFIG_DIRS");
    std::string list = dirs && *dirs ? dirs : "/etc/xdg";
    for (size_t start = 0; start <= list.size();) {
        size_t colon = list.find(':', start);
        if (colon == std::string::npos)
            colon = list.size();
        if (colon > start)
            files.push_back(list.substr(start, colon - start) + "/alsoft.conf");
        start = colon + 1;
    }
    files.push_back("/etc/openal/alsoft.conf");
    if (const char* home = std::getenv("HOME"); home && *home) {
        files.push_back(std::string(home) + "/.alsoftrc");
        const char* config = std::getenv("XDG_CONFIG_HOME");
        files.push_back((config && *config ? std::string(config) : std::string(home) + "/.config") + "/alsoft.conf");
    }
    if (const char* chosen = std::getenv("ALSOFT_CONF"); chosen && *chosen)
        files.push_back(chosen);
    return files;
}

std::string refuseInsaneSettings(std::string& notice, const GameDir& folder)
{
    std::vector<RefusedSetting> refused;
    std::string lastText;
    const std::vector<std::string> files = alsoftSettingsFiles();
    for (const std::string& file : files) {
        std::vector<uint8_t> bytes;
        if (!readRegularFile(file, bytes, kMaxSettingsBytes, nullptr))
            continue;
        const std::string text(bytes.begin(), bytes.end());
        const std::string shown = file == folder.file(kGameAlsoftFile) ? kGameAlsoftFile : file;
        for (RefusedSetting& r : refusedSettings(shown, text))
            refused.push_back(std::move(r));
        if (&file == &files.back())
            lastText = text;
    }
    if (refused.empty())
        return {};

    notice = "Ajustes de sonido rechazados por estar fuera de los valores posibles:";
    for (const RefusedSetting& r : refused)
        notice += " " + r.key + "=" + r.value + " (" + r.file + ");";
    notice += " el juego usa los suyos.";
    const std::string name = writeStandIn(settingsWithout(lastText, refused));
    if (name.empty()) {
        notice += " No se pudieron poner los del juego: el sonido puede fallar.";
        return {};
    }
    ::setenv("ALSOFT_CONF", name.c_str(), 1);
    return name;
}
