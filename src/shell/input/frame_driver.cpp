#include "frame_driver.h"

#include <algorithm>
#include <cstdint>

#include "game_state.h"
#include "hold_input.h"
#include "input_state.h"
#include "player_action.h"
#include "scaled_time.h"
#include "shell_hooks.h"

namespace {

// What each check of the input step needs before it acts. The step asks them
// once to learn whether the pass has anything to do, then again in order,
// since each check changes what the later ones see.

// A creature bars the way: a step request, or a held left button, is refused.
bool refusedStepWanted(const GameState& game, const InputState& input)
{
    return game.creatureBarsStep() && (input.advanceRequested || input.leftButtonDown);
}

bool stepWanted(const GameState& game, const InputState& input)
{
    const bool asked = input.advanceRequested || (input.leftButtonDown && game.options.mouseActive);
    return asked && !game.gameOver && !game.creatureBarsStep();
}

// A side action runs when its key asked for it or when a right click came in
// its zone with steering on.
bool sideWanted(const GameState& game, const InputState& input, bool requested, int zone)
{
    const bool clicked = input.rightButtonDown && game.options.mouseZone == zone && game.options.mouseActive;
    return (requested || clicked) && !game.gameOver;
}

// The click is used up by the first check that takes it, so one click acts
// once.
void sideCheck(GameState& game, InputState& input, Journal& journal, bool& requested, int zone, char letter)
{
    if (!sideWanted(game, input, requested, zone))
        return;
    input.rightButtonDown = false;
    requested = false;
    performAction(game, journal, letter);
}

bool anythingToDo(const GameState& game, const InputState& input)
{
    return refusedStepWanted(game, input) || stepWanted(game, input) ||
           sideWanted(game, input, input.leftRequested, MouseZone::Left) ||
           sideWanted(game, input, input.centreRequested, MouseZone::Centre) ||
           sideWanted(game, input, input.rightRequested, MouseZone::Right);
}

}  // namespace

void pollInput(GameState& game, InputState& input, Journal& journal)
{
    // Once the level has ended nothing is carried out, and nothing may wait
    // for the next level: what is asked now (a replay running on to its
    // end) is dropped.
    if (game.gameOver) {
        clearRequests(input);
        return;
    }
    // Only a pass that acts starts a new interval: a request that follows a
    // pause is carried out in the frame it arrives for, while a held key or
    // button still acts at most once per interval.
    if (!anythingToDo(game, input) || !passGate(input.lastInputTime, scaledTime(game.clock.now()), kInputInterval))
        return;

    // The refused attempt is journalled and counted, and a held left button
    // keeps counting at every pass until it is released.
    if (refusedStepWanted(game, input)) {
        input.advanceRequested = false;
        performAction(game, journal, 'S');
    }

    if (stepWanted(game, input)) {
        input.leftButtonDown = false;
        input.advanceRequested = false;
        performAction(game, journal, 'S');
    }

    sideCheck(game, input, journal, input.leftRequested, MouseZone::Left, 'H');
    sideCheck(game, input, journal, input.centreRequested, MouseZone::Centre, 'J');
    sideCheck(game, input, journal, input.rightRequested, MouseZone::Right, 'K');
}

void frameUpkeep(GameState& game, ShellHooks& hooks)
{
    if (game.options.mouseActive)
        game.options.mouseZone = steerMouse(game, hooks);

    if (game.options.musicOn && game.options.musicRestart) {
        game.channels.MusicaDeFondo.playCurrent(0, 0, kPlayLooping);
        game.options.musicRestart = false;
    }

    game.player.followInfiniteBullets(game.options.infiniteBullets);
}

int steerMouse(GameState& game, ShellHooks& hooks)
{
    // Summed in 64 bits so that a wild pointer reading cannot overflow.
    const int64_t offset =
        static_cast<int64_t>(game.options.mouseOffset) + hooks.cursorX() - static_cast<int64_t>(kSteerCentreX);
    int zone = MouseZone::Centre;
    if (offset < -(kSteerLimit - 1))
        zone = MouseZone::Left;
    else if (offset > kSteerLimit - 1)
        zone = MouseZone::Right;
    game.options.mouseOffset = static_cast<int32_t>(std::clamp<int64_t>(offset, -kSteerLimit, kSteerLimit));
    hooks.setCursor(kSteerCentreX, kSteerCentreY);
    return zone;
}
