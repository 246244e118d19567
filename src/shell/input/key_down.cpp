#include "game_state.h"
#include "hold_input.h"
#include "input_state.h"
#include "key_handlers.h"
#include "key_input.h"
#include "player_help.h"
#include "session.h"
#include "shell_hooks.h"

namespace {

bool validKey(int vk) { return vk >= 0 && vk < static_cast<int>(sizeof input.keys); }

// Once the level has ended nothing carries a step or a side action out, and
// none may wait for the next level: the key only ticks.
void request(const GameState& game, ShellHooks& hooks, bool& requested)
{
    if (game.gameOver)
        hooks.keyNotTaken();
    else
        requested = true;
}

void gameKey(int vk, GameState& game, Session& session, ShellHooks& hooks)
{
    switch (vk) {
    case Vk::Enter:
        reportLevel(game, session, hooks);
        restartOrShow(game, session, hooks);
        break;
    case Vk::Space: request(game, hooks, input.advanceRequested); break;
    case 'H': request(game, hooks, input.leftRequested); break;
    case 'J': request(game, hooks, input.centreRequested); break;
    case 'K': request(game, hooks, input.rightRequested); break;
    case 'N':
        // After a won level; any other time N is an option key that does
        // nothing, as before.
        if (!nextLevel(game, session, hooks))
            optionKey(vk, game, session, hooks);
        break;
    case Vk::F1:
        // Steering is suspended while the dialog is up; closing it with a
        // button turns it back on if it is enabled.
        game.mouseActive = false;
        hooks.openOptionsDialog();
        break;
    default: optionKey(vk, game, session, hooks); break;
    }
}

}  // namespace

void keyDown(int vk, Session& session, ShellHooks& hooks)
{
    if (!validKey(vk))
        return;
    if (welcomeKey(vk))
        return;
    GameState* game = input.currentGame;
    if (input.holding && !input.nameEntry) {
        holdKey(vk, hooks);
        return;
    }
    if (vk == Vk::Escape) {
        escapeKey(game, session.clock.now());
        return;
    }
    input.keys[vk] = true;
    input.quitAsked = false;  // any other key: the player stays
    if (game == nullptr)
        return;
    if (input.nameEntry) {
        nameEntryKey(vk, *game);
    } else if (!session.replay.replaying) {
        gameKey(vk, *game, session, hooks);
        // A hold the key started is over: what it kept acts now, before any
        // later key.
        actOnHeldInput(session, hooks);
    }
}

void keyUp(int vk, const Session& session)
{
    if (validKey(vk) && !session.replay.replaying)
        input.keys[vk] = false;
}

void mouseButton(bool left, bool down, ShellHooks& hooks)
{
    if (down && input.holding && !input.nameEntry) {
        holdButton(left, hooks);
        return;
    }
    (left ? input.leftButtonDown : input.rightButtonDown) = down;
}
