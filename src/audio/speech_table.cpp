#include "speech_table.h"

#include "regular_file.h"

#include <algorithm>
#include <charconv>

namespace {

// A table of a few hundred files is a few kilobytes; anything much larger is
// not one.
constexpr std::uintmax_t kMaxTableBytes = 1 << 20;

bool readSeconds(std::string_view field, double& ms)
{
    double seconds = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), seconds);
    if (error != std::errc() || end != field.data() + field.size() || !(seconds >= 0) || seconds > 3600)
        return false;
    ms = seconds * 1000.0;
    return true;
}

std::vector<std::string_view> splitTabs(std::string_view line)
{
    std::vector<std::string_view> fields;
    size_t from = 0;
    for (;;) {
        const size_t tab = line.find('\t', from);
        fields.push_back(line.substr(from, tab == std::string_view::npos ? tab : tab - from));
        if (tab == std::string_view::npos)
            return fields;
        from = tab + 1;
    }
}

bool readLine(std::string_view line, std::string& name, SoundTiming& timing)
{
    const auto fields = splitTabs(line);
    if (fields.size() < 2 || fields.size() % 2 != 0 || fields[0].empty())
        return false;
    if (!readSeconds(fields[1], timing.lengthMs))
        return false;
    double previousEnd = 0;
    for (size_t i = 2; i < fields.size(); i += 2) {
        SoundTiming::Stretch s{};
        if (!readSeconds(fields[i], s.startMs) || !readSeconds(fields[i + 1], s.endMs))
            return false;
        if (s.startMs < previousEnd || s.endMs <= s.startMs || s.endMs > timing.lengthMs)
            return false;
        previousEnd = s.endMs;
        timing.speech.push_back(s);
    }
    name.assign(fields[0]);
    return true;
}

}  // namespace

SpeechTable SpeechTable::parse(std::string_view text)
{
    SpeechTable table;
    while (!text.empty()) {
        const size_t newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        std::string name;
        SoundTiming timing;
        ++table.lines_;
        if (readLine(line, name, timing))
            table.files_[name] = std::move(timing);
        else if (table.firstBadLine_.empty())
            table.firstBadLine_ = std::string(line.substr(0, 80));
        else
            ++table.moreBadLines_;
    }
    return table;
}

std::string SpeechTable::problem(const std::string& path) const
{
    if (!readError_.empty())
        return path + ": " + readError_ + ".";
    if (lines_ == 0)
        return path + ": está vacío.";
    if (firstBadLine_.empty())
        return {};
    std::string text = path + ": no se entiende la línea \"" + firstBadLine_ + "\"";
    if (moreBadLines_ > 0)
        text += " ni " + std::to_string(moreBadLines_) + " más";
    return text + ".";
}

SpeechTable SpeechTable::load(const std::string& path)
{
    // Only a regular file of a sensible size: a named pipe in its place would
    // hold the start for ever.
    std::vector<uint8_t> bytes;
    std::string why;
    if (!readRegularFile(path, bytes, kMaxTableBytes, &why)) {
        SpeechTable none;
        none.readError_ = why.empty() ? "no se puede leer" : why;
        return none;
    }
    return parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::vector<std::string> SpeechTable::files() const
{
    std::vector<std::string> names;
    for (const auto& [name, timing] : files_)
        names.push_back(name);
    std::sort(names.begin(), names.end());
    return names;
}

const SoundTiming* SpeechTable::find(const std::string& file) const
{
    const auto it = files_.find(file);
    return it == files_.end() ? nullptr : &it->second;
}
