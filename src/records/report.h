#pragma once
#include <string>

class GameState;

// Writes the statistics report of the level in play under "bd/". Returns
// false and writes nothing when fewer than two steps were taken; returns
// false with error set when the file cannot be written.
bool writeStatisticsReport(const GameState& game, const char* playerName, std::string* error);
