#include "scene_key.h"

#include <cstring>

SceneKey sceneKeyOf(const GameState& game, bool nameEntry, const char* playerName)
{
    SceneKey key;
    key.nameEntry = nameEntry;
    if (playerName != nullptr)
        std::strncpy(key.playerName.data(), playerName, key.playerName.size() - 1);
    // The prompt shows nothing of the level.
    if (nameEntry)
        return key;
    key.showMap = game.showMap;
    if (game.showMap) {
        for (int r = 0; r < kGridSize; ++r)
            for (int c = 0; c < kGridSize; ++c)
                key.kinds[r * kGridSize + c] = game.cells[r][c].kind;
        key.row = game.row;
        key.col = game.col;
    }
    // Sentences are constant texts: the same pointer is the same sentence.
    for (int i = 0; i < kVisibleLines; ++i)
        key.visible[i] = game.visible[i];
    key.hudShown = game.hudShown;
    if (game.hudShown) {
        key.bullets = game.bullets;
        key.lives = game.lives;
    }
    return key;
}
