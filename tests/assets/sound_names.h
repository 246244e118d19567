#pragma once
#include <filesystem>
#include <set>
#include <string>

// Every sound file the code plays, as the game's start check lists them (the
// speech table aside); and every "Sonidos.../....wav" literal found in the
// sources under `src`, so that a sound added to the code is checked as soon
// as it is written. Names built from a format ("SonidosLetras/%c.wav") are
// left to the start check's list.
std::set<std::string> listedSoundFiles();
std::set<std::string> soundLiteralsIn(const std::filesystem::path& src);
