#include "player_action.h"

#include "catalogue.h"
#include "game_state.h"
#include "journal.h"

bool performAction(GameState& game, Journal& journal, char letter)
{
    void (GameState::*side)() = nullptr;
    switch (letter) {
    case 'S':
        // Once the level has ended nothing is a step, not even one a
        // creature would refuse (a loss leaves it ahead): the report counts
        // what the child did while he played.
        if (game.gameOver)
            return false;
        recordAction(journal, 'S', game.clock.now());
        if (game.creatureBarsStep()) {
            // Heard, so that the player knows the key was taken and the
            // creature is what stops him.
            game.channels.SonidoPasos.playFile(catalogue::PasoBloqueado.file, 0, 0, kPlayOnce);
            ++game.stats.stepsWithMonster;
        } else {
            game.options.hudShown = true;
            game.advance();
        }
        return true;
    case 'H': side = &GameState::leftAction; break;
    case 'J': side = &GameState::centreAction; break;
    case 'K': side = &GameState::rightAction; break;
    default: return false;
    }
    if (game.gameOver)
        return false;
    recordAction(journal, letter, game.clock.now());
    (game.*side)();
    return true;
}
