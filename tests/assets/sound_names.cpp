#include "sound_names.h"

#include "sound_check.h"
#include "speech_table.h"

#include <fstream>
#include <iterator>
#include <regex>

std::set<std::string> listedSoundFiles()
{
    const std::vector<std::string> names = gameSoundFiles(SpeechTable{});
    return {names.begin(), names.end()};
}

std::set<std::string> soundLiteralsIn(const std::filesystem::path& src)
{
    const std::regex literal(R"re("(Sonidos(?:Letras|Seteo)?/[^"%\\]+\.wav)")re");
    std::set<std::string> found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(src)) {
        const auto ext = entry.path().extension();
        if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h"))
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        for (std::sregex_iterator it(text.begin(), text.end(), literal), end; it != end; ++it)
            found.insert((*it)[1].str());
    }
    return found;
}
