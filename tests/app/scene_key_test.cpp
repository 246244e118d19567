#include <gtest/gtest.h>

#include "game_state.h"
#include "scene_key.h"

// The loop skips frames whose key has not changed, so every change the
// player could see must change the key.
TEST(SceneKey, ChangesWithEverythingTheFrameShows)
{
    GameState game;
    const SceneKey prompt = sceneKeyOf(game, true, "an");
    EXPECT_EQ(prompt, sceneKeyOf(game, true, "an"));
    EXPECT_NE(prompt, sceneKeyOf(game, true, "ana"));
    EXPECT_NE(prompt, sceneKeyOf(game, false, "an"));

    const SceneKey play = sceneKeyOf(game, false, "ana");
    game.addMessage("Avanzaste un paso.\n");
    const SceneKey oneLine = sceneKeyOf(game, false, "ana");
    EXPECT_NE(play, oneLine);
    game.addMessage("Avanzaste un paso.\n");
    EXPECT_NE(oneLine, sceneKeyOf(game, false, "ana")) << "the same sentence on a second line";

    SceneKey before = sceneKeyOf(game, false, "ana");
    game.options.hudShown = true;
    EXPECT_NE(before, sceneKeyOf(game, false, "ana"));
    before = sceneKeyOf(game, false, "ana");
    game.player.lives -= 1;
    EXPECT_NE(before, sceneKeyOf(game, false, "ana"));
    before = sceneKeyOf(game, false, "ana");
    game.player.bullets = 99999;
    EXPECT_NE(before, sceneKeyOf(game, false, "ana"));
}

TEST(SceneKey, TheGridCountsOnlyWithTheMapViewOn)
{
    GameState game;
    const SceneKey hidden = sceneKeyOf(game, false, "");
    game.cells[3][4].kind = 2;
    game.player.col = 4;
    EXPECT_EQ(hidden, sceneKeyOf(game, false, "")) << "nothing of the map is drawn";
    game.options.showMap = true;
    const SceneKey shown = sceneKeyOf(game, false, "");
    EXPECT_NE(hidden, shown);
    game.cells[3][5].kind = 2;
    EXPECT_NE(shown, sceneKeyOf(game, false, ""));
    const SceneKey moved = sceneKeyOf(game, false, "");
    game.player.row = 3;
    EXPECT_NE(moved, sceneKeyOf(game, false, ""));
    // Name entry draws only the prompt, whatever the level holds.
    EXPECT_EQ(sceneKeyOf(game, true, "x"), sceneKeyOf(GameState{}, true, "x"));
}
