// A long session without a window: thousands of random key sequences on every
// shipped map, with restarts, map changes, saves and loads, driven through
// the same key and frame functions the window calls. Run under the
// sanitizers it also proves the session clean of memory faults.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "fake_clock.h"
#include "file_chooser.h"
#include "frame_driver.h"
#include "frame_order.h"
#include "game_state.h"
#include "input_state.h"
#include "key_input.h"
#include "play.h"
#include "session.h"
#include "shell_hooks.h"

namespace fs = std::filesystem;

namespace {
class SilentSound : public SoundSystem {
public:
    int openVoice() override { return voices++; }
    void closeVoice(int) override {}
    bool loadVoice(int, const std::string&) override { return true; }
    int playVoice(int, bool) override { return 0; }
    int stopVoice(int) override { return 0; }
    bool playBlocking(const std::string&) override { return true; }
    int voices = 0;
};

class SoakChooser : public FileChooser {
public:
    std::string nextMap = "nivel1.quorvane";
    bool askOpenFile(const char* title, const char*, const char*, std::string& name) override
    {
        name = std::string(title) == "Cambiar Mapa" ? nextMap : "soak.txt";
        return true;
    }
    bool askSaveFile(const char*, const char*, const char*, std::string& name) override
    {
        name = "soak.txt";
        return true;
    }
};

class SoakHooks : public ShellHooks {
public:
    SilentSound sound;
    SoakChooser chooser;
    int errors = 0;
    std::string lastError;
    int cursor = kSteerCentreX;
    bool openOptionsDialog() override { return true; }
    bool openKeysDialog() override { return true; }
    void setOptionBox(int, bool) override {}
    void quit() override {}
    void showError(const std::string& text) override
    {
        ++errors;
        lastError = text;
    }
    FileChooser& fileChooser() override { return chooser; }
    SoundSystem& sounds() override { return sound; }
    void keyNotTaken() override {}
    int cursorX() override { return cursor; }
    void setCursor(int x, int) override { cursor = x; }
};

long residentKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}

// A ring of corridors turned by right-hand doors at its corners: the player
// can walk it for ever, so a level can run long enough to fill every record.
std::string ringMap()
{
    std::string text = "/ Anillo para la prueba larga\n";
    for (int r = 0; r < kGridSize; ++r) {
        for (int c = 0; c < kGridSize; ++c) {
            int code = 0;
            const bool onRing = (r == 2 || r == 12) ? (c >= 2 && c <= 12) : (c == 2 || c == 12) && r >= 2 && r <= 12;
            if (onRing)
                code = ((r == 2 || r == 12) && (c == 2 || c == 12)) ? 6 : 3;
            if (r == 2 && c == 3)
                code = 1;
            text += std::to_string(code) + (c < kGridSize - 1 ? " " : "\n");
        }
    }
    return text;
}

struct SoakRun {
    FakeClock clock{5000};
    Session session{clock};
    SoakHooks hooks;
    GameState game{clock};
    InputState input;
    Play play{game, input, session, hooks};
    std::mt19937 random{20261207};
    long actions = 0;
    long restarts = 0, saves = 0, loads = 0, mapChanges = 0;

    void frame()
    {
        clock.advance(std::uniform_int_distribution<Tick>(20, 400)(random));
        runFrameLogic(play, FrameDrawing{[] {}, [] {}});
        finishFrame(play);
    }

    void press(int vk)
    {
        keyDown(vk, play);
        keyUp(vk, play);
        ++actions;
        frame();
    }

    void menu(int id, long& count)
    {
        menuCommand(id, play);
        ++count;
        ++actions;
        frame();
    }

    // Mostly steps and side actions, now and then an option, the bullet
    // count, the mouse, and rarely the keys and menu commands that end levels.
    void randomAction(bool levelChanges)
    {
        const int roll = std::uniform_int_distribution<int>(0, 999)(random);
        if (roll < 350) press(' ');
        else if (roll < 550) press('H');
        else if (roll < 750) press('J');
        else if (roll < 920) press('K');
        else if (roll < 940) press("EQRW"[roll % 4]);
        else if (roll < 950) press('F');
        else if (roll < 970) {
            hooks.cursor = std::uniform_int_distribution<int>(300, 900)(random);
            mouseButton(roll % 2 == 0, true, play);
            frame();
            mouseButton(roll % 2 == 0, false, play);
            ++actions;
        } else if (!levelChanges) {
            press(' ');
        } else if (roll < 985) {
            press(13);  // report and restart
            ++restarts;
        } else if (roll < 990) {
            menu(MenuId::SaveGame, saves);
        } else if (roll < 995) {
            menu(MenuId::LoadGame, loads);
        } else {
            hooks.chooser.nextMap = "nivel" + std::to_string(1 + roll % 6) + ".quorvane";
            menu(MenuId::ChangeMap, mapChanges);
        }
    }

    void checkBounds() const
    {
        ASSERT_LE(game.log.historyCount, kHistorySize);
        ASSERT_LE(game.stats.stepCount, kPathSize);
        ASSERT_LE(session.journal.journalCount, kJournalSize);
        ASSERT_LE(session.replay.replayCount, kJournalSize);
        ASSERT_GE(game.player.row, 0);
        ASSERT_LT(game.player.row, kGridSize);
        ASSERT_GE(game.player.col, 0);
        ASSERT_LT(game.player.col, kGridSize);
    }
};
}

TEST(Soak, ThousandsOfRandomKeySequencesOnEveryMap)
{
    const fs::path here = fs::current_path() / "soak";
    fs::remove_all(here);
    fs::create_directories(here / "bd");
    for (const auto& map : fs::directory_iterator(QUORVANE_MAPS_DIR))
        fs::copy_file(map.path(), here / map.path().filename());
    std::ofstream(here / "anillo.quorvane") << ringMap();

    SoakRun s;
    s.game.folder = GameDir(here);
    s.game.firstInit("anillo.quorvane", s.hooks.sound);
    ASSERT_TRUE(s.game.lastLoadError.empty()) << s.game.lastLoadError;
    s.press(13);  // end the name entry with an empty name
    s.press(27);  // skip the welcome

    // One long level on the ring: every record fills and stays within bounds.
    while (s.actions < 12000) {
        s.randomAction(false);
        s.checkBounds();
    }
    EXPECT_EQ(s.game.log.historyCount, kHistorySize);
    EXPECT_EQ(s.game.stats.stepCount, kPathSize);
    EXPECT_EQ(s.session.journal.journalCount, kJournalSize);
    EXPECT_FALSE(s.game.gameOver);

    // Then every shipped map in turn, with restarts, saves, loads and changes
    // (saved once first, so that every load finds a game).
    menuCommand(MenuId::SaveGame, s.play);
    const long settled = residentKb();
    const long total = 100000;
    for (int map = 1; s.actions < total; map = map % 6 + 1) {
        s.hooks.chooser.nextMap = "nivel" + std::to_string(map) + ".quorvane";
        menuCommand(MenuId::ChangeMap, s.play);
        const long until = std::min(total, s.actions + 8000);
        while (s.actions < until) {
            s.randomAction(true);
            s.checkBounds();
        }
    }
    const long grown = residentKb() - settled;
    std::printf("soak: %ld actions (%ld restarts, %ld saves, %ld loads, %ld map changes), "
                "%d file errors, resident memory grew %ld kB\n",
                s.actions, s.restarts, s.saves, s.loads, s.mapChanges, s.hooks.errors, grown);
#if !defined(__SANITIZE_ADDRESS__)
    // The sanitizers hold freed memory back on purpose; elsewhere it must stay flat.
    EXPECT_LT(grown, 4096);
#endif
    EXPECT_EQ(s.hooks.errors, 0) << s.hooks.lastError;
}
