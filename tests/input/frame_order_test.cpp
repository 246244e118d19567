#include "frame_order.h"

#include "frame_driver.h"
#include "input_fixture.h"
#include "input_state.h"
#include "journal.h"
#include "replay.h"

namespace {

class FrameOrderTest : public InputTest {
protected:
    FrameDrawing drawing{[this] { drawn += "scene "; }, [this] { drawn += "status "; }};
    std::string drawn;
};

TEST_F(FrameOrderTest, DuringNameEntryOnlyThePromptIsDrawnAndNothingRuns)
{
    input.advanceRequested = true;
    game.options.musicOn = true;
    clock.advance(500);
    runFrameLogic(play, drawing);
    EXPECT_FALSE(finishFrame(play));
    EXPECT_EQ(drawn, "scene ");
    EXPECT_EQ(game.player.col, 1);
    EXPECT_TRUE(plays().empty());

    input.keys[Vk::Escape] = true;
    EXPECT_TRUE(finishFrame(play));
}

TEST_F(FrameOrderTest, AFrameInPlayDrawsRunsTheThreatsAndTheInputStep)
{
    input.nameEntry = false;
    game.player.currentCell = Cell{CellKind::MutantLeft, 0, 3, 0};
    game.player.bullets = 5;
    game.player.threatAhead = true;
    game.threatClock.lastThreatTime = -3000.0f;  // its side was heard 3 s of play ago
    input.advanceRequested = true;
    input.leftRequested = true;  // asked for while it was heard on the left
    clock.advance(3500);
    runFrameLogic(play, drawing);
    EXPECT_EQ(drawn, "scene status ");
    EXPECT_EQ(game.threatClock.threatCycle, 2);  // the mutant check ran, and moved it
    EXPECT_EQ(game.player.currentCell.kind, CellKind::MutantCentre);
    EXPECT_EQ(journalLetters(), "SH");
    EXPECT_EQ(game.stats.missedShots, 0) << "the shot went where the mutant was heard";

    game.options.musicOn = true;
    EXPECT_FALSE(finishFrame(play));
    EXPECT_FALSE(game.options.musicRestart);  // the upkeep ran
}

TEST_F(FrameOrderTest, ReplayStepAssignsAllFourRequestsAndWaitsForTheInputStep)
{
    input.nameEntry = false;
    const char letters[] = {'H', 'E', 'S'};
    for (int i = 0; i < 3; ++i)
        session.replay.replayList[i] = JournalEntry{letters[i], 1000u + 10u * i};
    session.replay.replayCount = 3;
    session.replay.replaying = true;

    clock.advance(100);
    finishFrame(play);
    EXPECT_TRUE(input.leftRequested);
    EXPECT_FALSE(input.advanceRequested || input.centreRequested || input.rightRequested);

    // Not yet carried out: the next entry waits rather than overwrite it.
    clock.advance(100);
    finishFrame(play);
    EXPECT_TRUE(input.leftRequested);
    EXPECT_EQ(session.replay.replayPosition, 1);
    pollInput(game, input, session.journal);
    EXPECT_EQ(journalLetters(), "H");

    clock.advance(100);
    finishFrame(play);  // an option letter clears all four
    EXPECT_FALSE(input.leftRequested || input.advanceRequested || input.centreRequested || input.rightRequested);

    // Once the level is over nothing carries requests out: the replay goes on.
    game.gameOver = true;
    input.rightRequested = true;
    clock.advance(100);
    finishFrame(play);
    EXPECT_TRUE(input.advanceRequested);
    EXPECT_FALSE(input.rightRequested);

    clock.advance(100);
    finishFrame(play);
    EXPECT_FALSE(session.replay.replaying);
    EXPECT_TRUE(input.advanceRequested);  // the end of the replay raises nothing
}

}  // namespace
