#pragma once
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Where each sound file of the game speaks. The generator of the game folder
// writes the table ("speech.tsv") as it makes the sounds: one line a file,
// its name, its length, then the start and end of each spoken stretch, all in
// seconds. Files the table does not name are taken for effects.
struct SoundTiming {
    double lengthMs = 0;
    struct Stretch {
        double startMs;
        double endMs;
    };
    std::vector<Stretch> speech;  // in order, within the file

    bool speaks() const { return !speech.empty(); }
    double firstSpeechMs() const { return speech.empty() ? 0 : speech.front().startMs; }
    double lastSpeechEndMs() const { return speech.empty() ? 0 : speech.back().endMs; }
};

class SpeechTable {
public:
    // Lines that cannot be read (a wrong field, stretches out of order or
    // beyond the file's end) are left out; the rest of the table still counts.
    static SpeechTable parse(std::string_view text);
    // The table in a file; empty when there is none (every sound an effect).
    static SpeechTable load(const std::string& path);

    const SoundTiming* find(const std::string& file) const;
    size_t size() const { return files_.size(); }
    // The files the table names, sorted.
    std::vector<std::string> files() const;
    // What is wrong with the table read from path, in Spanish and naming
    // it: unreadable or missing, empty, or lines it could not take (the
    // first one quoted); empty when it was read whole. The game then goes
    // on, taking every file the table does not name for an effect.
    std::string problem(const std::string& path) const;

private:
    std::unordered_map<std::string, SoundTiming> files_;
    std::string readError_;
    size_t lines_ = 0;
    std::string firstBadLine_;
    size_t moreBadLines_ = 0;
};

// The folder of the game folder that holds a slow copy of every spoken file,
// under the same name ("Lento/Sonidos/Pasillo.wav").
inline constexpr const char* kSlowVoiceFolder = "Lento";

// The name of the table in the game folder.
inline constexpr const char* kSpeechTableFile = "speech.tsv";
