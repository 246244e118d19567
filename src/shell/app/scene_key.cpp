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
    key.showMap = game.options.showMap;
    if (game.options.showMap) {
        for (int r = 0; r < kGridSize; ++r)
            for (int c = 0; c < kGridSize; ++c)
                key.kinds[r * kGridSize + c] = game.cells[r][c].kind;
        key.row = game.player.row;
        key.col = game.player.col;
    }
    // Sentences are constant texts: the same pointer is the same sentence.
    for (int i = 0; i < kVisibleLines; ++i)
        key.visible[i] = game.log.visible[i];
    key.hudShown = game.options.hudShown;
    if (game.options.hudShown) {
        key.bullets = game.player.bullets;
        key.lives = game.player.lives;
    }
    return key;
}
