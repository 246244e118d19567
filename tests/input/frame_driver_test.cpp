#include "frame_driver.h"

#include "input_fixture.h"
#include "input_state.h"
#include "journal.h"
#include "scaled_time.h"

namespace {

using FrameDriverTest = InputTest;

TEST(ScaledTime, GateOpensOnlyAfterTheIntervalAndReopensAfterAWrap)
{
    float last = scaledTime(1'000'000);
    EXPECT_FALSE(passGate(last, scaledTime(1'000'099), kInputInterval));
    EXPECT_TRUE(passGate(last, scaledTime(1'000'101), kInputInterval));
    EXPECT_FLOAT_EQ(last, scaledTime(1'000'101));

    // Near 2^31 ms one float step is about 150 ms: the gate grows coarse.
    last = scaledTime(2'560'000'000u);
    EXPECT_FALSE(passGate(last, scaledTime(2'560'000'100u), kInputInterval));
    EXPECT_TRUE(passGate(last, scaledTime(2'560'000'320u), kInputInterval));

    // After the counter wraps, now is far below last: open at once.
    last = scaledTime(4'294'967'000u);
    EXPECT_TRUE(passGate(last, scaledTime(50), kInputInterval));
    EXPECT_FALSE(passGate(last, scaledTime(120), kInputInterval));
}

TEST_F(FrameDriverTest, StepsAtMostOncePer100ms)
{
    input.advanceRequested = true;
    pollAfter(200);
    EXPECT_EQ(game.player.col, 2);
    EXPECT_TRUE(game.options.hudShown);
    input.advanceRequested = true;
    pollAfter(50);
    EXPECT_EQ(game.player.col, 2);
    EXPECT_TRUE(input.advanceRequested);
    pollAfter(60);
    EXPECT_EQ(game.player.col, 3);
    EXPECT_EQ(journalLetters(), "SS");
}

// A key or button held down, its request raised again at every 16 ms frame
// (auto-repeat is faster than the frames): the passes that act stay more
// than 100 ms apart, and the held input keeps acting at the first frame the
// interval allows.
struct HeldInput {
    const char* name;
    void (*prepare)(GameState&);
    void (*raise)(InputState&);
    char letter;
};

void PrintTo(const HeldInput& held, std::ostream* out) { *out << held.name; }

class HeldInputTest : public InputTest, public ::testing::WithParamInterface<HeldInput> {};

TEST_P(HeldInputTest, ActsAtMostOncePer100msAndKeepsActing)
{
    const HeldInput& held = GetParam();
    game.player.bullets = 1000;
    held.prepare(game);
    for (Tick elapsed = 0; elapsed < 3000; elapsed += 16) {
        held.raise(input);
        pollAfter(16);
    }
    ASSERT_GE(session.journal.journalCount, 26);
    EXPECT_EQ(journalLetters(), std::string(static_cast<size_t>(session.journal.journalCount), held.letter));
    for (int i = 1; i < session.journal.journalCount; ++i) {
        const Tick gap = session.journal.entries[i].tick - session.journal.entries[i - 1].tick;
        EXPECT_GT(gap, 100u) << "pass " << i;
        EXPECT_LE(gap, 112u) << "pass " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    FrameDriver, HeldInputTest,
    ::testing::Values(
        HeldInput{"SpaceAgainstAWall", [](GameState& g) { g.cells[1][2].kind = CellKind::Wall; },
                  [](InputState& input) { input.advanceRequested = true; }, 'S'},
        HeldInput{"LeftKeyShootingAtNothing", [](GameState&) {}, [](InputState& input) { input.leftRequested = true; }, 'H'},
        HeldInput{"LeftButtonWithACreatureAhead", [](GameState& g) { g.player.threatAhead = true; },
                  [](InputState& input) { input.leftButtonDown = true; }, 'S'},
        HeldInput{"RightButtonSteering",
                  [](GameState& g) {
                      g.options.mouseActive = true;
                      g.options.mouseZone = MouseZone::Right;
                  },
                  [](InputState& input) { input.rightButtonDown = true; }, 'K'}),
    [](const ::testing::TestParamInfo<HeldInput>& info) { return std::string(info.param.name); });

TEST_F(FrameDriverTest, AKeyAfterAnIdleSecondActsInTheFirstPass)
{
    // Frames with nothing pending do not start a new interval, whatever
    // frame of the idle stretch the key comes in.
    game.player.bullets = 1000;
    for (Tick offset = 0; offset < 112; offset += 16) {
        input.centreRequested = true;
        pollAfter(200);
        const int before = session.journal.journalCount;
        for (Tick idle = 0; idle < 1000 + offset; idle += 16)
            pollAfter(16);
        EXPECT_EQ(session.journal.journalCount, before) << offset;
        input.centreRequested = true;
        pollAfter(16);
        EXPECT_EQ(session.journal.journalCount, before + 1) << "the key " << offset << " ms after the idle second waited";
    }
}

TEST_F(FrameDriverTest, StepThenSideActionInOnePass)
{
    place(1, 2, CellKind::BulletsLeft);
    input.advanceRequested = true;
    input.leftRequested = true;
    pollAfter(200);
    EXPECT_EQ(game.player.col, 2);
    EXPECT_EQ(game.player.bullets, 6);  // the left action ran on the square reached
    EXPECT_EQ(journalLetters(), "SH");
    EXPECT_FALSE(input.advanceRequested);
    EXPECT_FALSE(input.leftRequested);
}

TEST_F(FrameDriverTest, StepAnnouncingACreatureBarsTheSameAndLaterPasses)
{
    place(1, 2, CellKind::MonsterCentre);
    input.advanceRequested = true;
    pollAfter(200);
    ASSERT_TRUE(game.player.threatAhead);

    // Refused steps are journalled, counted and heard, and the request is
    // used up.
    sound.clear();
    input.advanceRequested = true;
    pollAfter(200);
    EXPECT_EQ(game.player.col, 2);
    EXPECT_EQ(game.stats.stepsWithMonster, 1);
    EXPECT_FALSE(input.advanceRequested);
    EXPECT_EQ(plays(), std::vector<std::string>{"SonidoPasos once Sonidos/PasoBloqueado.wav"});

    // A held left button counts at every pass, steering on or off.
    input.leftButtonDown = true;
    pollAfter(200);
    pollAfter(200);
    EXPECT_EQ(game.stats.stepsWithMonster, 3);
    EXPECT_TRUE(input.leftButtonDown);
    EXPECT_EQ(journalLetters(), "SSSS");

    // Three centre shots kill it and free the way.
    input.leftButtonDown = false;
    game.player.bullets = 3;
    for (int i = 0; i < 3; ++i) {
        input.centreRequested = true;
        pollAfter(200);
    }
    EXPECT_FALSE(game.player.threatAhead);
    EXPECT_EQ(journalLetters(), "SSSSJJJ");
}

TEST_F(FrameDriverTest, RequestsMadeAfterTheLevelEndedAreDroppedNotCarriedIntoTheNext)
{
    game.gameOver = true;
    input.advanceRequested = true;
    input.rightRequested = true;
    input.leftButtonDown = true;
    game.options.mouseActive = true;
    pollAfter(200);
    EXPECT_EQ(game.player.col, 1);
    EXPECT_FALSE(input.advanceRequested || input.rightRequested || input.leftButtonDown);
    EXPECT_EQ(session.journal.journalCount, 0);

    ASSERT_TRUE(game.restartLevel());
    pollAfter(200);
    EXPECT_EQ(game.player.col, 1);
    EXPECT_EQ(journalLetters(), "");
}

TEST_F(FrameDriverTest, MouseButtonsActOnlyWithSteeringOn)
{
    input.leftButtonDown = true;
    input.rightButtonDown = true;
    pollAfter(200);
    EXPECT_EQ(game.player.col, 1);
    EXPECT_EQ(session.journal.journalCount, 0);
    EXPECT_TRUE(input.leftButtonDown);
    EXPECT_TRUE(input.rightButtonDown);

    // Steering on: the left click steps, the right click acts in the zone
    // it was made in, once.
    game.options.mouseActive = true;
    game.options.mouseZone = MouseZone::Right;
    place(1, 2, CellKind::BulletsRight);
    pollAfter(200);
    EXPECT_EQ(game.player.col, 2);
    EXPECT_EQ(game.player.bullets, 6);
    EXPECT_FALSE(input.leftButtonDown);
    EXPECT_FALSE(input.rightButtonDown);
    EXPECT_EQ(journalLetters(), "SK");
}

TEST_F(FrameDriverTest, SteeringClampsTheOffsetAndRecentresThePointer)
{
    const int expectedZones[] = {MouseZone::Left, MouseZone::Left, MouseZone::Centre, MouseZone::Right};
    const int pointer[] = {350, 350, 650, 1000};
    const int offsets[] = {-200, -200, -150, 200};
    for (int i = 0; i < 4; ++i) {
        hooks.pointerX = pointer[i];
        EXPECT_EQ(steerMouse(game, hooks), expectedZones[i]) << i;
        EXPECT_EQ(game.options.mouseOffset, offsets[i]) << i;
    }
    ASSERT_EQ(hooks.cursorMoves.size(), 4u);
    for (const auto& move : hooks.cursorMoves)
        EXPECT_EQ(move, std::make_pair(kSteerCentreX, kSteerCentreY));

    // Short of the full offset is still the centre.
    game.options.mouseOffset = 0;
    hooks.pointerX = 600 + 199;
    EXPECT_EQ(steerMouse(game, hooks), MouseZone::Centre);
}

TEST_F(FrameDriverTest, UpkeepFollowsTheMouseOnlyWhenSteering)
{
    hooks.pointerX = 100;
    frameUpkeep(game, hooks);
    EXPECT_EQ(game.options.mouseZone, MouseZone::Centre);
    EXPECT_TRUE(hooks.cursorMoves.empty());

    game.options.mouseActive = true;
    frameUpkeep(game, hooks);
    EXPECT_EQ(game.options.mouseZone, MouseZone::Left);
}

TEST_F(FrameDriverTest, UpkeepStartsTheMusicOnceWhenDue)
{
    frameUpkeep(game, hooks);
    EXPECT_TRUE(plays().empty());  // music off

    game.options.musicOn = true;
    frameUpkeep(game, hooks);
    frameUpkeep(game, hooks);
    EXPECT_EQ(plays(), std::vector<std::string>{"MusicaDeFondo loop Sonidos/MusicaFondo.wav"});
    EXPECT_FALSE(game.options.musicRestart);
}

TEST_F(FrameDriverTest, UpkeepSwapsInfiniteBulletsInAndOut)
{
    game.player.bullets = 12;
    game.options.infiniteBullets = true;
    frameUpkeep(game, hooks);
    EXPECT_EQ(game.player.bullets, 99999);
    game.player.bullets = 99990;  // shots fired meanwhile are not kept
    frameUpkeep(game, hooks);
    EXPECT_EQ(game.player.bullets, 99990);

    game.options.infiniteBullets = false;
    frameUpkeep(game, hooks);
    EXPECT_EQ(game.player.bullets, 12);
    EXPECT_TRUE(game.player.infiniteArmed);
    EXPECT_FALSE(game.player.infiniteEngaged);
}

}  // namespace
