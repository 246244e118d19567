#include "options_dialog.h"

#include "game_state.h"
#include "hold_input.h"
#include "input_state.h"
#include "key_handlers.h"
#include "shell_hooks.h"

OptionBoxes optionBoxesOf(const GameState& game)
{
    return OptionBoxes{game.musicOn, game.infiniteBullets, game.showMap, game.mouseEnabled};
}

void applyOptionBoxes(GameState& game, const OptionBoxes& boxes)
{
    if (boxes.music) {
        game.musicOn = true;
    } else {
        game.MusicaDeFondo.stopChannel();
        game.musicOn = false;
        game.musicRestart = true;
    }
    game.infiniteBullets = boxes.infiniteBullets;
    game.mouseEnabled = boxes.mouse;
    game.showMap = boxes.showMap;
}

bool optionsDialogCommand(int control, const OptionBoxes& boxes, Session& session, ShellHooks& hooks)
{
    GameState* game = input.currentGame;
    if (game == nullptr)
        return false;
    // "Empezar" would start the level again in the middle of a sentence:
    // during a hold the buttons are not taken, and the dialog stays.
    if (input.holding) {
        hooks.keyNotTaken();
        return false;
    }
    applyOptionBoxes(*game, boxes);
    if (control == DialogButton::Start)
        restartOrShow(*game, session, hooks);
    else if (control != DialogButton::Continue)
        return false;
    optionsClosedByButton(*game);
    return true;
}

void optionsClosedByButton(GameState& game)
{
    game.mouseActive = game.mouseEnabled;
    input.dialogOpen = false;
}

void dialogClosedByCloseBox() { input.dialogOpen = false; }
