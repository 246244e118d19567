#pragma once
#include <filesystem>
#include <string>

// The folder the game plays in, as a value handed to whatever opens a file.
// The game names its files relative to it (Sonidos/Pasos.wav,
// "Data/Font2.bmp", "nivel1.quorvane", "bd/...", "ajustes.txt"), and says
// them so in its messages and reports; a name becomes a path only where its
// file is opened. The working directory plays no part: it stays where the
// user started the program, so a name he typed there keeps its meaning.
class GameDir {
public:
    // No folder: names are opened as they are given (a tool reading the file
    // named on its command line).
    GameDir() = default;
    // root should be absolute, so that what it resolves does not move with
    // the working directory.
    explicit GameDir(std::filesystem::path root) : root_(std::move(root)) {}

    const std::filesystem::path& root() const { return root_; }
    // Where the file of that name lies: an absolute name (a file chosen
    // elsewhere) and an empty one as they are, any other within the folder.
    std::string file(const std::string& name) const;

private:
    std::filesystem::path root_;
};
