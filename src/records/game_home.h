#pragma once
#include <filesystem>
#include <string>
#include <vector>

// Where the game plays: every file it reads or writes is named relative to
// that folder. The children's reports, saved games and the teacher's maps
// must outlive a build folder, so by default the game plays in a folder of
// the user's own that reaches the generated sounds and pictures by symbolic
// links.

// $XDG_DATA_HOME/quorvane, or ~/.local/share/quorvane; empty when neither
// variable gives an absolute folder.
std::filesystem::path userGameFolder();

// A folder the game can play in as it is: it holds the font picture.
bool isGameFolder(const std::filesystem::path& folder);

// Makes folder and every missing folder above it, each 0700 whatever the
// umask. True when folder is then a folder (not a link to one).
bool makePrivateFolder(const std::filesystem::path& folder);

// Makes folder ready to play in with the generated files of source: folder
// and bd/ made private (0700), what a killed writer left in them removed,
// a link for each generated folder and file (Sonidos/, Data/, alsoft.conf, ...)
// pointing at source, made again when source has moved, and every shipped map
// the folder lacks copied whole or not at all (never over one a teacher has
// edited; an empty one, left by a copy on a full disk, is copied again). What the
// teacher put there himself, files or folders, is left alone. False with the
// reason when the folder cannot be made ready.
bool prepareGameFolder(const std::filesystem::path& folder, const std::filesystem::path& source, std::string* error);

// The folder to play in: the one named on the command line, else the working
// directory when it is a game folder (a teacher's own copy, the tests), else
// the user's folder prepared from the first of sources that is a game
// folder. Empty with the reason when none can be had.
std::filesystem::path chooseGameFolder(const std::filesystem::path& commandLine, const std::filesystem::path& current,
                                       const std::vector<std::filesystem::path>& sources,
                                       const std::filesystem::path& user, std::string* error);

// When the folder to play in cannot be made ready (bd a file, a dangling
// link, a read-only parent): the private fallback folder (see
// privateFallbackFolder) made ready from the first of sources that is a game
// folder, so that reports never go into the build or installation folder.
// notice tells the player or teacher why and where the files go now; empty
// folder (and a notice that says so) when even that fails.
std::filesystem::path fallbackGameFolder(const std::vector<std::filesystem::path>& sources, const std::string& why,
                                         std::string* notice);
