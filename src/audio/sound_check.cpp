#include "sound_check.h"

#include <set>

#include "catalogue.h"
#include "speech_table.h"
#include "wave.h"

std::vector<std::string> gameSoundFiles(const SpeechTable& table)
{
    std::vector<std::string> names;
    for (const catalogue::Line* line : catalogue::kAll)
        if (line->file)
            names.push_back(line->file);
    for (const std::string& name : table.files())
        names.push_back(name);

    std::set<std::string> seen;
    std::vector<std::string> unique;
    for (std::string& name : names)
        if (seen.insert(name).second)
            unique.push_back(std::move(name));
    return unique;
}

std::string unplayableSoundsMessage(const std::vector<std::string>& problems, size_t shown)
{
    if (problems.empty())
        return {};
    std::string text = problems.size() == 1 ? "Un sonido del juego no se puede tocar:\n"
                                            : std::to_string(problems.size()) +
                                                  " sonidos del juego no se pueden tocar:\n";
    for (size_t i = 0; i < problems.size() && i < shown; ++i)
        text += "  " + problems[i] + "\n";
    if (problems.size() > shown)
        text += "  ... y " + std::to_string(problems.size() - shown) + " más.\n";
    return text + "El juego sigue; donde iba cada uno de ellos no se oye nada.";
}

std::vector<std::string> unplayableSoundFiles(const std::vector<std::string>& names,
                                              const std::function<std::string(const std::string&)>& problemOf)
{
    std::vector<std::string> problems;
    for (const std::string& name : names)
        if (std::string why = problemOf(name); !why.empty())
            problems.push_back(std::move(why));  // "name: reason"
    return problems;
}

std::vector<std::string> unplayableSoundFiles(const GameDir& folder, const std::vector<std::string>& names)
{
    return unplayableSoundFiles(names, [&folder](const std::string& name) {
        WaveSound sound;
        std::string why;
        return loadWaveFile(folder, name, sound, &why) ? std::string() : why;
    });
}
