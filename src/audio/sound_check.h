#pragma once
#include <string>
#include <vector>

#include "game_dir.h"

class SpeechTable;

// A game played by ear with a sound missing is a game with a hole in it: a
// letter that says nothing, a creature never heard. The start checks every
// file the game can play and says which cannot be, once, where the player's
// teacher sees it.

// Every sound file the code plays by name (the names built at run time, the
// spoken letters and the bullet count, included), and every file the game
// folder's speech table lists; each once, in order.
std::vector<std::string> gameSoundFiles(const SpeechTable& table);

// The files of names, in folder, that cannot be played, each as
// "name: reason" (Spanish).
std::vector<std::string> unplayableSoundFiles(const GameDir& folder, const std::vector<std::string>& names);

// The message for the player and his teacher: what is wrong, the first
// `shown` problems one a line, how many more there are, and that the game
// goes on without them. Empty when there is no problem.
std::string unplayableSoundsMessage(const std::vector<std::string>& problems, size_t shown);
