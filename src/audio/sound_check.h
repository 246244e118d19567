#pragma once
#include <functional>
#include <string>
#include <vector>

#include "game_dir.h"

class SpeechTable;

// A game played by ear with a sound missing is a game with a hole in it: a
// letter that says nothing, a creature never heard. The start checks every
// file the game can play and says which cannot be, once, where the player's
// teacher sees it.

// Every sound file of the catalogue (every one the code can play), and every
// file the game folder's speech table lists; each once, in order.
std::vector<std::string> gameSoundFiles(const SpeechTable& table);

// The files of names that cannot be played, each as "name: reason" (Spanish):
// read one by one from folder, or as problemOf says ("" for a file that
// plays), so that the reading can be the one the sound system keeps.
std::vector<std::string> unplayableSoundFiles(const GameDir& folder, const std::vector<std::string>& names);
std::vector<std::string> unplayableSoundFiles(const std::vector<std::string>& names,
                                              const std::function<std::string(const std::string&)>& problemOf);

// The message for the player and his teacher: what is wrong, the first
// `shown` problems one a line, how many more there are, and that the game
// goes on without them. Empty when there is no problem.
std::string unplayableSoundsMessage(const std::vector<std::string>& problems, size_t shown);
