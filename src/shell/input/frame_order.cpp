#include "frame_order.h"

#include "frame_driver.h"
#include "game_state.h"
#include "input_state.h"
#include "player_help.h"
#include "replay.h"

void runFrameLogic(GameState& game, const FrameDrawing& draw)
{
    if (draw.scene)
        draw.scene();
    if (input.nameEntry)
        return;
    game.shiftMutant();
    game.shiftSuperMonster();
    if (draw.statusLine)
        draw.statusLine();
    pollInput(game);
}

bool finishFrame(GameState& game, ShellHooks& hooks)
{
    const bool escape = input.keys[Vk::Escape];
    if (input.nameEntry)
        return escape;
    frameUpkeep(game, hooks);
    welcomeStep(game);
    if (replay.replaying)
        replayStep();
    return escape;
}

void replayStep()
{
    // A replayed request the input step has not yet carried out is not
    // overwritten by the next entry, or the replay would lose actions the
    // recorded game took; once the level has ended nothing carries requests
    // out, and the replay runs on to its end.
    const bool pending = input.advanceRequested || input.leftRequested || input.centreRequested ||
                         input.rightRequested;
    if (pending && input.currentGame && !input.currentGame->gameOver)
        return;
    const char letter = replayTick();
    if (letter == 0)
        return;
    input.advanceRequested = letter == 'S';
    input.leftRequested = letter == 'H';
    input.centreRequested = letter == 'J';
    input.rightRequested = letter == 'K';
}

