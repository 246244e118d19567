#include "options_dialog.h"

#include "game_state.h"
#include "hold_input.h"
#include "input_state.h"
#include "key_handlers.h"
#include "play.h"
#include "shell_hooks.h"

OptionBoxes optionBoxesOf(const GameState& game)
{
    const PlayOptions& o = game.options;
    return OptionBoxes{o.musicOn, o.infiniteBullets, o.showMap, o.mouseEnabled};
}

void applyOptionBoxes(GameState& game, const OptionBoxes& boxes)
{
    if (boxes.music) {
        game.options.musicOn = true;
    } else {
        game.channels.MusicaDeFondo.stopChannel();
        game.options.musicOn = false;
        game.options.musicRestart = true;
    }
    game.options.infiniteBullets = boxes.infiniteBullets;
    game.options.mouseEnabled = boxes.mouse;
    game.options.showMap = boxes.showMap;
}

bool optionsDialogCommand(int control, const OptionBoxes& boxes, Play& play)
{
    // "Empezar" would start the level again in the middle of a sentence:
    // during a hold the buttons are not taken, and the dialog stays.
    if (play.input.holding) {
        play.hooks.keyNotTaken();
        return false;
    }
    applyOptionBoxes(play.game, boxes);
    if (control == DialogButton::Start)
        restartOrShow(play);
    else if (control != DialogButton::Continue)
        return false;
    optionsClosedByButton(play.game, play.input);
    return true;
}

void optionsClosedByButton(GameState& game, InputState& input)
{
    game.options.mouseActive = game.options.mouseEnabled;
    input.dialogOpen = false;
}

void dialogClosedByCloseBox(InputState& input) { input.dialogOpen = false; }
