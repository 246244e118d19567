#include "frame_order.h"

#include "frame_driver.h"
#include "game_state.h"
#include "input_state.h"
#include "play.h"
#include "player_help.h"
#include "session.h"

void runFrameLogic(Play& play, const FrameDrawing& draw)
{
    GameState& game = play.game;
    InputState& input = play.input;
    if (draw.scene)
        draw.scene();
    if (input.nameEntry)
        return;
    // Keys before creatures: a shot asked for while the player still heard
    // the creature on its side goes there, even when the creature's move
    // falls due in the same frame.
    pollInput(game, input, play.session.journal);
    game.shiftMutant();
    game.shiftSuperMonster();
    if (draw.statusLine)
        draw.statusLine();
}

bool finishFrame(Play& play)
{
    InputState& input = play.input;
    Session& session = play.session;
    const bool escape = input.keys[Vk::Escape];
    if (input.nameEntry)
        return escape;
    frameUpkeep(play.game, play.hooks);
    welcomeStep(play.game, input);
    if (session.replay.replaying)
        replayStep(session.replay, input, play.game.gameOver, session.clock.now());
    return escape;
}

void replayStep(ReplayState& replay, InputState& input, bool levelOver, Tick now)
{
    // A replayed request the input step has not yet carried out is not
    // overwritten by the next entry, or the replay would lose actions the
    // recorded game took; once the level has ended nothing carries requests
    // out, and the replay runs on to its end.
    const bool pending = input.advanceRequested || input.leftRequested || input.centreRequested ||
                         input.rightRequested;
    if (pending && !levelOver)
        return;
    const char letter = replayTick(replay, now);
    if (letter == 0)
        return;
    input.advanceRequested = letter == 'S';
    input.leftRequested = letter == 'H';
    input.centreRequested = letter == 'J';
    input.rightRequested = letter == 'K';
}

