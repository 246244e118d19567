#pragma once
#include <filesystem>
#include <set>
#include <string>

// Every sound file the game plays: the fixed list of the rules and the shell,
// and every "Sonidos.../....wav" literal found in the sources under `src`,
// so that a sound added to the code is checked as soon as it is written.
// Names built from a format ("SonidosLetras/%c.wav") are left to the fixed list.
std::set<std::string> listedSoundFiles();
std::set<std::string> soundLiteralsIn(const std::filesystem::path& src);
