#include <cstdio>
#include <filesystem>

#include "input_fixture.h"
#include "input_state.h"
#include "journal.h"
#include "key_input.h"
#include "options_dialog.h"
#include "replay.h"

namespace {

class MenuTest : public InputTest {
protected:
    MenuTest()
    {
        input.nameEntry = false;
        std::snprintf(input.playerName, sizeof input.playerName, "ana");
        input.playerNameLength = 3;
    }
    // Two steps, so that the level has a report to write.
    void walkTwoSteps()
    {
        for (int i = 0; i < 2; ++i) {
            input.advanceRequested = true;
            pollAfter(200);
        }
        ASSERT_EQ(game.player.col, 3);
    }
};

TEST_F(MenuTest, OnlyOneDialogFromTheMenuAtATime)
{
    hooks.dialogsCanOpen = false;
    EXPECT_TRUE(menuCommand(MenuId::Keys, play));
    EXPECT_TRUE(input.dialogOpen);  // marked even though none was made
    menuCommand(MenuId::Options, play);
    menuCommand(MenuId::Keys, play);
    EXPECT_EQ(hooks.keysOpened, 1);
    EXPECT_EQ(hooks.optionsOpened, 0);

    dialogClosedByCloseBox(input);
    menuCommand(MenuId::Options, play);
    EXPECT_EQ(hooks.optionsOpened, 1);
    EXPECT_FALSE(menuCommand(12345, play));
}

TEST_F(MenuTest, EnterWritesTheReportThenRestartsTheLevel)
{
    walkTwoSteps();
    std::filesystem::remove_all(here("bd"));
    press(Vk::Enter);
    EXPECT_EQ(game.player.col, 1);
    EXPECT_EQ(session.journal.journalCount, 0);
    EXPECT_TRUE(hooks.errors.empty());
    ASSERT_TRUE(std::filesystem::is_directory(here("bd")));
    int reports = 0;
    for (const auto& entry : std::filesystem::directory_iterator(here("bd")))
        reports += entry.path().filename().string().rfind("ana_", 0) == 0;
    EXPECT_EQ(reports, 1);
}

TEST_F(MenuTest, EnterWithAMapThatCannotBeReadAgainKeepsTheLevel)
{
    walkTwoSteps();
    std::filesystem::remove(here(kMapName));
    press(Vk::Enter);
    EXPECT_EQ(game.player.col, 3);
    EXPECT_EQ(session.journal.journalCount, 2);
    EXPECT_EQ(hooks.errors.size(), 1u);
    writeMap(kMapName, {1, 3, 3, 8});
}

TEST_F(MenuTest, ChangeMapLoadsTheChosenMapOrShowsWhyNot)
{
    // No exit: it loads all the same, and the teacher is told.
    writeMap("input_other.quorvane", {3, 1, 3});
    hooks.chooser.answer = "input_other.quorvane";
    menuCommand(MenuId::ChangeMap, play);
    EXPECT_EQ(game.mapName, "input_other.quorvane");
    EXPECT_EQ(game.player.col, 2);
    ASSERT_EQ(hooks.errors.size(), 1u);
    EXPECT_NE(hooks.errors[0].find("\"input_other.quorvane\" no se puede ganar"), std::string::npos);

    hooks.chooser.answer = "input_missing.quorvane";
    menuCommand(MenuId::ChangeMap, play);
    EXPECT_EQ(game.mapName, "input_other.quorvane");
    EXPECT_EQ(hooks.errors.size(), 2u);

    hooks.chooser.answer.clear();
    menuCommand(MenuId::ChangeMap, play);
    EXPECT_EQ(hooks.errors.size(), 2u);

    writeMap("input_way.quorvane", {1, 3, 8});
    hooks.chooser.answer = "input_way.quorvane";
    menuCommand(MenuId::ChangeMap, play);
    EXPECT_EQ(game.mapName, "input_way.quorvane");
    EXPECT_EQ(hooks.errors.size(), 2u);
}

TEST_F(MenuTest, LoadSetsReplayingWhateverItReturned)
{
    menuCommand(MenuId::LoadGame, play);  // cancelled
    EXPECT_TRUE(session.replay.replaying);
    EXPECT_TRUE(hooks.errors.empty());
    EXPECT_EQ(session.replay.replayCount, 0);
}

TEST_F(MenuTest, SaveThenLoadQueuesTheJournalForReplay)
{
    walkTwoSteps();
    std::filesystem::remove(here("input_save.txt"));
    hooks.chooser.answer = "input_save.txt";
    menuCommand(MenuId::SaveGame, play);
    ASSERT_TRUE(std::filesystem::exists(here("input_save.txt")));

    menuCommand(MenuId::LoadGame, play);
    EXPECT_TRUE(hooks.errors.empty());
    EXPECT_TRUE(session.replay.replaying);
    EXPECT_EQ(session.replay.replayCount, 2);
}

TEST_F(MenuTest, AFailedSaveIsShown)
{
    std::filesystem::create_directories(here("input_save_dir.txt"));
    hooks.chooser.answer = "input_save_dir.txt";
    menuCommand(MenuId::SaveGame, play);
    EXPECT_EQ(hooks.errors.size(), 1u);
    std::filesystem::remove_all(here("input_save_dir.txt"));
}

using OptionsDialogTest = MenuTest;

TEST_F(OptionsDialogTest, EachClickAppliesAllFourBoxes)
{
    input.dialogOpen = true;
    const OptionBoxes boxes{true, true, true, true};
    EXPECT_FALSE(optionsDialogCommand(1008, boxes, play));
    const PlayOptions& o = game.options;
    EXPECT_TRUE(o.musicOn && o.infiniteBullets && o.mouseEnabled && o.showMap);
    EXPECT_FALSE(game.options.mouseActive);  // steering waits for a button to close
    EXPECT_TRUE(input.dialogOpen);
    EXPECT_EQ(session.journal.journalCount, 0);
    EXPECT_EQ(game.log.historyCount, 0);
    EXPECT_TRUE(plays().empty());

    const OptionBoxes shown = optionBoxesOf(game);
    EXPECT_TRUE(shown.music && shown.infiniteBullets && shown.showMap && shown.mouse);
}

TEST_F(OptionsDialogTest, UncheckingMusicStopsItAtOnce)
{
    game.options.musicOn = true;
    game.options.musicRestart = false;
    optionsDialogCommand(1007, OptionBoxes{}, play);
    EXPECT_FALSE(game.options.musicOn);
    EXPECT_TRUE(game.options.musicRestart);
    ASSERT_EQ(sound.events.size(), 1u);
    EXPECT_EQ(sound.events[0].op, RecordingSound::Op::Stop);

    // Checking it again starts nothing here; the upkeep does.
    sound.clear();
    optionsDialogCommand(1007, OptionBoxes{true, false, false, false}, play);
    EXPECT_TRUE(game.options.musicOn);
    EXPECT_TRUE(sound.events.empty());
}

TEST_F(OptionsDialogTest, StartRestartsWithoutAReportAndClosesWithSteering)
{
    walkTwoSteps();
    const JournalEntry entries[] = {{'S', 1}, {'S', 2}};
    startReplay(session.replay, entries, 2);
    std::filesystem::remove_all(here("bd"));
    input.dialogOpen = true;
    EXPECT_TRUE(optionsDialogCommand(DialogButton::Start, OptionBoxes{false, false, false, true}, play));
    EXPECT_EQ(game.player.col, 1);
    EXPECT_EQ(session.journal.journalCount, 0);
    EXPECT_FALSE(session.replay.replaying);
    EXPECT_EQ(session.replay.replayCount, 0);
    EXPECT_FALSE(std::filesystem::exists(here("bd")));
    EXPECT_TRUE(game.options.mouseActive);
    EXPECT_FALSE(input.dialogOpen);
}

TEST_F(OptionsDialogTest, ContinueClosesAndTheCloseBoxLeavesSteeringOff)
{
    input.dialogOpen = true;
    EXPECT_TRUE(optionsDialogCommand(DialogButton::Continue, OptionBoxes{false, false, false, true}, play));
    EXPECT_TRUE(game.options.mouseActive);
    EXPECT_EQ(game.player.col, 1);
    EXPECT_FALSE(input.dialogOpen);

    press(Vk::F1);  // suspends steering
    input.dialogOpen = true;
    dialogClosedByCloseBox(input);
    EXPECT_FALSE(game.options.mouseActive);
    EXPECT_TRUE(game.options.mouseEnabled);
    EXPECT_FALSE(input.dialogOpen);
}

}  // namespace
