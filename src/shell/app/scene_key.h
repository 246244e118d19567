#pragma once
#include <array>
#include <cstdint>

#include "cell.h"
#include "game_state.h"
#include "input_state.h"

// Everything a frame's picture is drawn from: the name prompt, the map view,
// the message lines and the status line. Two equal keys draw the same
// picture, so the main loop presents a new frame only when the key changes
// and a game waiting for the player costs almost nothing to show.
struct SceneKey {
    bool nameEntry = true;
    std::array<char, kPlayerNameSize> playerName{};
    bool showMap = false;
    std::array<int32_t, kGridSize * kGridSize> kinds{};  // only with the map view on
    int32_t row = 0;
    int32_t col = 0;
    std::array<const char*, kVisibleLines> visible{};
    bool hudShown = false;
    int32_t bullets = 0;
    int32_t lives = 0;

    bool operator==(const SceneKey&) const = default;
};

SceneKey sceneKeyOf(const GameState& game, bool nameEntry, const char* playerName);
