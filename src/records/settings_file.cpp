#include "settings_file.h"

#include <sstream>
#include <vector>

#include "regular_file.h"
#include "safe_file.h"
#include "text_lines.h"

namespace {
// Far more than a settings file ever holds; anything bigger is not one.
constexpr uint64_t kMaxSettingsBytes = 64 * 1024;

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// "si" with or without its accent (UTF-8 or Windows-1252), as a teacher
// may type it.
bool isYes(const std::string& value) { return value == "si" || value == "s\xC3\xAD" || value == "s\xED"; }

void readSetting(const std::string& key, const std::string& value, TeacherSettings& out)
{
    if (key == "voz") {
        if (value == "lenta" || value == "normal")
            out.slowVoice = value == "lenta";
    } else if (key == "criaturas") {
        int seconds = 0;
        std::istringstream in(value);
        if (in >> seconds && in.eof() && isShiftSecondsChoice(seconds))
            out.shiftSeconds = seconds;
    } else if (key == "trampas") {
        if (isYes(value) || value == "no")
            out.traps = value != "no";
    }
}
}

TeacherSettings parseSettingsText(const std::string& text)
{
    TeacherSettings settings;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const auto equals = line.find('=');
        if (trimmed(line).starts_with("#") || equals == std::string::npos)
            continue;
        readSetting(trimmed(line.substr(0, equals)), trimmed(line.substr(equals + 1)), settings);
    }
    return settings;
}

TeacherSettings readSettingsFile(const std::string& name, const GameDir& folder)
{
    std::vector<uint8_t> bytes;
    if (!readRegularFile(folder.file(name), bytes, kMaxSettingsBytes, nullptr))
        return {};
    return parseSettingsText(std::string(bytes.begin(), bytes.end()));
}

bool writeSettingsFile(const std::string& name, const TeacherSettings& settings, std::string* error,
                       const GameDir& folder)
{
    SafeFileWriter writer;
    if (!writer.open(folder, name, error))
        return false;
    const std::string text = "# Ajustes del maestro: valen desde el pr\xC3\xB3ximo nivel.\n"
                             "# voz: normal o lenta; criaturas: 3, 5 u 8 segundos; trampas: si o no.\n"
                             "voz = " +
                             std::string(settings.slowVoice ? "lenta" : "normal") +
                             "\ncriaturas = " + std::to_string(settings.shiftSeconds) +
                             "\ntrampas = " + (settings.traps ? "si" : "no") + "\n";
    writeText(writer.stream(), text.c_str());
    return writer.commit(error);
}
