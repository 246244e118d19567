#include <cmath>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "player_action.h"
#include "records_fixture.h"
#include "replay.h"
#include "report.h"
#include "report_file.h"
#include "report_measures.h"
#include "report_page.h"
#include "saved_game.h"
#include "summary_csv.h"

namespace {
namespace fs = std::filesystem;

// What a scripted level leaves in its report, by the way it ended.
struct Level {
    const char* player;
    Outcome outcome;
    int steps;
    int errors;
    int missedShotsPlaced;
};

class Reports : public RecordsTest {
protected:
    void step(char letter)
    {
        act(*game, session, letter);
        clock.advance(700);
    }
    void putOnBothGrids(int col, int32_t kind)
    {
        for (Grid* grid : {&game->cells, &game->initialCells}) {
            (*grid)[1][col].kind = kind;
            (*grid)[1][col].superHp = 6;
        }
    }
    // Plays one level of the corridor map to the given end and writes its
    // report under bd/ with the player's name.
    std::string play(const Level& level)
    {
        clearJournal(session.journal);
        game->restartLevel();
        switch (level.outcome) {
        case Outcome::Won: playCorridorLevel(*game, session, clock); break;
        case Outcome::Trap:
            putOnBothGrids(6, CellKind::Trap);
            playCorridorLevel(*game, session, clock);
            break;
        case Outcome::Lives:
            putOnBothGrids(4, CellKind::SuperLeft);
            for (char letter : {'S', 'S', '-', 'S'})
                letter == '-' ? step(sideFor(*game)) : step(letter);
            // Frames of the main loop until the super monster has taken every life.
            for (int ms = 0; ms < 60000 && !game->gameOver; ms += 16) {
                clock.advance(16);
                game->shiftSuperMonster();
            }
            break;
        case Outcome::Bullets:
            for (char letter : {'S', 'S', 'S'})
                step(letter);  // the bullets are left where they lie
            step(sideFor(*game));
            break;
        case Outcome::NotFinished:
            // Two steps and a shot with no bullets, saved, then loaded and
            // replayed.
            for (char letter : {'S', 'J', 'S'})
                step(letter);
            chooser.answer = "partida.txt";
            EXPECT_TRUE(saveGame(*game, session, chooser, &error)) << error;
            game->restartLevel();
            clearJournal(session.journal);
            EXPECT_TRUE(loadGame(*game, session, chooser, sounds, &error)) << error;
            for (int ms = 0; ms < 100000 && session.replay.replaying; ++ms) {
                performAction(*game, session.journal, replayTick(session.replay, clock.now()));
                clock.advance(1);
            }
            break;
        }
        EXPECT_TRUE(writeStatisticsReport(*game, session.journal, level.player, &error)) << error;
        clock.advance(60000);
        return "bd/" + std::string(level.player) + "_Mon_Mar__3_09_07_02_2008.db1";
    }
};

const Level kLevels[] = {
    // Errors: the whole corridor, won or trapped, misses two shots and
    // refuses one step; the replayed level keeps its shot with no bullets.
    {"gana", Outcome::Won, 5, 3, 2},
    {"trampa", Outcome::Trap, 5, 3, 2},
    {"vidas", Outcome::Lives, 3, 0, 0},
    {"balas", Outcome::Bullets, 3, 0, 0},
    {"repite", Outcome::NotFinished, 2, 1, 1},
};

TEST_F(Reports, EachEndingIsReadWithItsOutcomeMeasuresAndPlacedErrors)
{
    for (const Level& level : kLevels) {
        SCOPED_TRACE(level.player);
        const std::string file = play(level);
        ::Report report;
        std::string reason;
        ASSERT_TRUE(readReport(file, report, reason)) << reason;
        EXPECT_EQ(report.player, level.player);
        // A replayed level is named after the saved game it came from.
        EXPECT_EQ(report.map, level.outcome == Outcome::NotFinished ? "partida.txt" : "pasillo.quorvane");
        EXPECT_EQ(report.counters[StepCount], level.steps);
        EXPECT_EQ(report.path.size(), size_t(level.steps));
        const Measures m = measure(report);
        EXPECT_EQ(m.outcome, level.outcome);
        ASSERT_TRUE(m.shortest.has_value());
        EXPECT_EQ(*m.shortest, 5);
        EXPECT_DOUBLE_EQ(m.ratio, level.steps / 5.0);
        EXPECT_EQ(m.errors, level.errors);
        EXPECT_EQ(placeErrors(report).missedShotsPlaced, level.missedShotsPlaced);
        EXPECT_EQ(report.written, std::optional<std::time_t>(1204535222));
    }
    // A second report of one player within the same second is kept beside
    // the first, numbered, and its time is still read from its name.
    play(kLevels[0]);
    ::Report again;
    std::string reason;
    ASSERT_TRUE(readReport("bd/gana_Mon_Mar__3_09_07_02_2008-2.db1", again, reason)) << reason;
    EXPECT_EQ(again.written, std::optional<std::time_t>(1204535222));
    EXPECT_EQ(timeFromReportName("gana_Mon_Mar__3_09_07_02_2008-12.db1"), std::optional<std::time_t>(1204535222));
}

TEST_F(Reports, TheWinIsOneCsvRowWithEveryCounterAndMeasure)
{
    const std::string file = play(kLevels[0]);
    ::Report report;
    std::string reason;
    ASSERT_TRUE(readReport(file, report, reason)) << reason;
    ::setenv("TZ", "UTC", 1);
    // The spacing of playCorridorLevel: 700 ms, then 100 more each action;
    // the steps are actions 1, 3, 6, 12 and 13, so 1.5, 3.0, 8.7 and 1.8 s
    // apart. Missed: the shot with no bullets (corridor) and the one at the
    // monster's other side; errors 2 + 1 refused step.
    EXPECT_EQ(csvRow(report),
              "bd/gana_Mon_Mar__3_09_07_02_2008.db1,gana,2008-03-03,09:07:02,pasillo.quorvane,"
              "15,2,1,0,0,1,0,1,0,0,sí,ganado,5,2,5,1.00,3.750,8.700,3,6.00\n");
    const std::string header = csvHeader(), row = csvRow(report);
    EXPECT_EQ(std::count(header.begin(), header.end(), ','), std::count(row.begin(), row.end(), ','));
    const auto places = placeErrors(report);
    EXPECT_EQ(places.missedShots.at({1, 2}), 1) << "the shot with no bullets in the corridor";
    EXPECT_EQ(places.missedShots.at({1, 4}), 1) << "the shot at the monster's other side";
}

TEST_F(Reports, ADamagedOrForeignFileIsRefusedWithItsReason)
{
    const std::string text = readWholeFile(play(kLevels[0]));
    writeWholeFile("cortado.db1", text.substr(0, text.size() / 2));
    writeWholeFile("sin_fin.db1", text.substr(0, text.size() - 3));
    writeWholeFile("ajeno.db1", "\x89PNG\r\n");
    std::string mixed = text;
    mixed.replace(mixed.find("Mapa :"), 6, "Mapa?");
    writeWholeFile("etiqueta.db1", mixed);
    const std::pair<const char*, const char*> cases[] = {
        {"cortado.db1", "cortado"},
        {"sin_fin.db1", "cortado"},
        {"ajeno.db1", "no es un informe"},
        {"etiqueta.db1", "\"Mapa :\""},
        {"falta.db1", "no se puede abrir"},
    };
    for (const auto& [name, why] : cases) {
        ::Report report;
        std::string reason;
        EXPECT_FALSE(readReport(name, report, reason)) << name;
        EXPECT_NE(reason.find(why), std::string::npos) << name << ": " << reason;
    }
}

// The command on a folder of reports, and its pages in a real browser.
TEST_F(Reports, TheCommandWritesTheTableAndPagesAndAPageShowsEveryStepInABrowser)
{
    for (const Level& level : kLevels)
        play(level);
    writeWholeFile("bd/roto.db1", readWholeFile("bd/gana_Mon_Mar__3_09_07_02_2008.db1").substr(0, 900));
    const std::string command = std::string(QUORVANE_INFORMES) + " bd --csv resumen.csv --html informes 2> errores.txt";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1) << "a damaged file makes the exit status 1";
    EXPECT_NE(readWholeFile("errores.txt").find("bd/roto.db1: no se pudo leer:"), std::string::npos);
    const std::string csv = readWholeFile("resumen.csv");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 6) << csv;
    for (const char* page : {"gana", "trampa", "vidas", "balas", "repite"})
        EXPECT_TRUE(fs::exists(std::string("informes/") + page + "_Mon_Mar__3_09_07_02_2008.html")) << page;
    EXPECT_NE(readWholeFile("informes/index.html").find("roto.db1"), std::string::npos);

    const std::string chromium = QUORVANE_CHROMIUM;
    ASSERT_FALSE(chromium.empty()) << "chromium is not installed (scripts/setup.sh installs it)";
    const std::string page = fs::absolute("informes/gana_Mon_Mar__3_09_07_02_2008.html").string();
    const std::string dump = "timeout 120 " + chromium +
                             " --headless --no-sandbox --disable-gpu --disable-dev-shm-usage --user-data-dir=" + fs::absolute("perfil").string() +
                             " --dump-dom file://" + page + " > dom.html 2> chromium.log";
    ASSERT_EQ(std::system(dump.c_str()), 0) << readWholeFile("chromium.log");
    const std::string dom = readWholeFile("dom.html");
    EXPECT_NE(dom.find("<svg"), std::string::npos);
    size_t steps = 0;
    for (size_t at = dom.find("class=\"paso\""); at != std::string::npos; at = dom.find("class=\"paso\"", at + 1))
        ++steps;
    EXPECT_EQ(steps, 5u);
    EXPECT_NE(dom.find("data-paso=\"5\""), std::string::npos);
}
}
