#include "game_state.h"
#include "input_state.h"
#include "key_handlers.h"
#include "key_input.h"
#include "player_help.h"
#include "session.h"
#include "shell_hooks.h"

namespace {

bool validKey(int vk) { return vk >= 0 && vk < static_cast<int>(sizeof input.keys); }

void gameKey(int vk, GameState& game, Session& session, ShellHooks& hooks)
{
    switch (vk) {
    case Vk::Enter:
        reportLevel(game, session, hooks);
        restartOrShow(game, session, hooks);
        break;
    case Vk::Space: input.advanceRequested = true; break;
    case 'H': input.leftRequested = true; break;
    case 'J': input.centreRequested = true; break;
    case 'K': input.rightRequested = true; break;
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
    }
}

void keyUp(int vk, const Session& session)
{
    if (validKey(vk) && !session.replay.replaying)
        input.keys[vk] = false;
}

void mouseButton(bool left, bool down)
{
    (left ? input.leftButtonDown : input.rightButtonDown) = down;
}
