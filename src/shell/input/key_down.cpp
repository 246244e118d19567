#include "game_state.h"
#include "hold_input.h"
#include "input_state.h"
#include "key_handlers.h"
#include "key_input.h"
#include "play.h"
#include "player_help.h"
#include "session.h"
#include "shell_hooks.h"

namespace {

bool validKey(int vk) { return vk >= 0 && vk < static_cast<int>(sizeof InputState::keys); }

// Once the level has ended nothing carries a step or a side action out, and
// none may wait for the next level: the key only ticks.
void request(const GameState& game, ShellHooks& hooks, bool& requested)
{
    if (game.gameOver)
        hooks.keyNotTaken();
    else
        requested = true;
}

void gameKey(int vk, Play& play)
{
    GameState& game = play.game;
    InputState& input = play.input;
    ShellHooks& hooks = play.hooks;
    switch (vk) {
    case Vk::Enter:
        reportLevel(play);
        restartOrShow(play);
        break;
    case Vk::Space: request(game, hooks, input.advanceRequested); break;
    case 'H': request(game, hooks, input.leftRequested); break;
    case 'J': request(game, hooks, input.centreRequested); break;
    case 'K': request(game, hooks, input.rightRequested); break;
    case 'N':
        // After a won level; any other time N is an option key that does
        // nothing, as before.
        if (!nextLevel(play))
            optionKey(vk, play);
        break;
    case Vk::F1:
        // Steering is suspended while the dialog is up; closing it with a
        // button turns it back on if it is enabled.
        game.options.mouseActive = false;
        hooks.openOptionsDialog();
        break;
    default: optionKey(vk, play); break;
    }
}

}  // namespace

void keyDown(int vk, Play& play)
{
    InputState& input = play.input;
    if (!validKey(vk))
        return;
    if (welcomeKey(vk, play.game, input))
        return;
    if (input.holding && !input.nameEntry) {
        holdKey(vk, input, play.hooks);
        return;
    }
    if (vk == Vk::Escape) {
        escapeKey(play.game, input, play.session.clock.now());
        return;
    }
    input.keys[vk] = true;
    input.quitAsked = false;  // any other key: the player stays
    if (input.nameEntry) {
        nameEntryKey(vk, play.game, input);
    } else if (!play.session.replay.replaying) {
        gameKey(vk, play);
        // A hold the key started is over: what it kept acts now, before any
        // later key.
        actOnHeldInput(play);
    }
}

void keyUp(int vk, Play& play)
{
    if (validKey(vk) && !play.session.replay.replaying)
        play.input.keys[vk] = false;
}

void mouseButton(bool left, bool down, Play& play)
{
    InputState& input = play.input;
    if (down && input.holding && !input.nameEntry) {
        holdButton(left, input, play.hooks);
        return;
    }
    (left ? input.leftButtonDown : input.rightButtonDown) = down;
}
