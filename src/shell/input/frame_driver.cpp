#include "frame_driver.h"

#include <algorithm>
#include <cstdint>

#include "game_state.h"
#include "input_state.h"
#include "journal.h"
#include "scaled_time.h"
#include "shell_hooks.h"

namespace {

// A side action runs when its key asked for it or when a right click came in
// its zone with steering on. The click is used up by the first check that
// takes it, so one click acts once.
void sideCheck(GameState& game, bool& requested, int zone, char letter, void (GameState::*action)())
{
    const bool clicked = input.rightButtonDown && game.mouseZone == zone && game.mouseActive;
    if (!(requested || clicked) || game.gameOver)
        return;
    input.rightButtonDown = false;
    recordAction(letter);
    requested = false;
    (game.*action)();
}

}  // namespace

void pollInput(GameState& game)
{
    if (!passGate(input.lastInputTime, scaledTime(currentTick()), kInputInterval))
        return;

    // A creature bars the way: the attempt is journalled and counted, and a
    // held left button keeps counting at every pass until it is released.
    if (game.threatAhead && (input.advanceRequested || input.leftButtonDown)) {
        recordAction('S');
        input.advanceRequested = false;
        ++game.stepsWithMonster;
    }

    // Requests made after the level ended stay pending for the next level.
    const bool stepWanted = input.advanceRequested || (input.leftButtonDown && game.mouseActive);
    if (stepWanted && !game.gameOver && !game.threatAhead) {
        input.leftButtonDown = false;
        recordAction('S');
        input.advanceRequested = false;
        game.hudShown = true;
        game.advance();
    }

    sideCheck(game, input.leftRequested, MouseZone::Left, 'H', &GameState::leftAction);
    sideCheck(game, input.centreRequested, MouseZone::Centre, 'J', &GameState::centreAction);
    sideCheck(game, input.rightRequested, MouseZone::Right, 'K', &GameState::rightAction);
}

void frameUpkeep(GameState& game, ShellHooks& hooks)
{
    if (game.mouseActive)
        game.mouseZone = steerMouse(game, hooks);

    if (game.musicOn && game.musicRestart) {
        game.MusicaDeFondo.playCurrent(0, 0, kPlayLooping);
        game.musicRestart = false;
    }

    // Infinite bullets show 99999 while on; the real count is put aside and
    // comes back when they are switched off.
    if (game.infiniteBullets && game.infiniteArmed) {
        game.savedBullets = game.bullets;
        game.bullets = 99999;
        game.infiniteEngaged = true;
        game.infiniteArmed = false;
    }
    if (!game.infiniteBullets && game.infiniteEngaged) {
        game.bullets = game.savedBullets;
        game.infiniteEngaged = false;
        game.infiniteArmed = true;
    }
}

int steerMouse(GameState& game, ShellHooks& hooks)
{
    // Summed in 64 bits so that a wild pointer reading cannot overflow.
    const int64_t offset =
        static_cast<int64_t>(game.mouseOffset) + hooks.cursorX() - static_cast<int64_t>(kSteerCentreX);
    int zone = MouseZone::Centre;
    if (offset < -(kSteerLimit - 1))
        zone = MouseZone::Left;
    else if (offset > kSteerLimit - 1)
        zone = MouseZone::Right;
    game.mouseOffset = static_cast<int32_t>(std::clamp<int64_t>(offset, -kSteerLimit, kSteerLimit));
    hooks.setCursor(kSteerCentreX, kSteerCentreY);
    return zone;
}
