#include "fuzz_support.h"

#include "player_action.h"

void playSomeMoves(FuzzGame& run, int moves)
{
    GameState& game = run.game;
    for (int i = 0; i < moves && !game.gameOver; ++i) {
        run.clock.advance(1500);
        game.shiftMutant();
        game.shiftSuperMonster();
        performAction(game, run.session.journal, "SHJSK"[i % 5]);
    }
}
