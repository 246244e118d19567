#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>

#include "journal.h"
#include "records_fixture.h"
#include "report.h"
#include "report_reader.h"
#include "report_writer.h"
#include "safe_file.h"
#include "saved_game.h"

namespace {
constexpr std::time_t kMonday3March2008 = 1204535222;  // 09:07:02 UTC

TEST(ReportName, DayOfMonthTakesTwoCharactersNameAndDateJoinedByUnderscores)
{
    EXPECT_EQ(reportFileName("ana", kMonday3March2008), "bd/ana_Mon_Mar__3_09_07_02_2008.db1");
    EXPECT_EQ(reportFileName("ana", kMonday3March2008 + 8 * 86400),
              "bd/ana_Tue_Mar_11_09_07_02_2008.db1");
    EXPECT_EQ(reportFileName("", kMonday3March2008), "bd/_Mon_Mar__3_09_07_02_2008.db1");
    EXPECT_EQ(utcTimeText(0), "Thu Jan  1 00:00:00 1970");
    EXPECT_EQ(utcTimeText(1767225599), "Wed Dec 31 23:59:59 2025");
}

TEST(ReportName, LongNameIsCutToFitNinetyNineCharactersAndSlashesCannotLeaveTheFolder)
{
    const std::string longName(99, 'x');
    const std::string name = reportFileName(longName.c_str(), kMonday3March2008);
    EXPECT_EQ(name, "bd/" + std::string(74, 'x') + "_Mon_Mar__3_09_07_02_2008.db1");
    EXPECT_EQ(name.size() - 3 - 4, 99u);
    EXPECT_EQ(reportFileName(std::string(74, 'y').c_str(), kMonday3March2008),
              "bd/" + std::string(74, 'y') + "_Mon_Mar__3_09_07_02_2008.db1");
    EXPECT_EQ(reportFileName("../x", kMonday3March2008), "bd/.._x_Mon_Mar__3_09_07_02_2008.db1");
}

// What the round trip below writes: the sentences of `said` in turn and
// steps walking a diagonal, their ticks from just before half the counter.
const char* const kSaid[] = {"Ajustes: trampas s\xED.\n", "Has Ganado.\n", "\x93" "dijo\x94\n"};
const char* const kHeard[] = {"Ajustes: trampas sí.", "Has Ganado.", "“dijo”"};
Tick tickOf(size_t i) { return static_cast<Tick>(0x7FFFFF00u + 100 * i); }
int32_t rowOf(size_t i) { return static_cast<int32_t>(i % kGridSize); }
int32_t colOf(size_t i) { return kGridSize - 1 - rowOf(i); }

std::string writtenReport(const Grid& grid, const ReportData& data, size_t sentences)
{
    char* bytes = nullptr;
    size_t size = 0;
    std::FILE* out = open_memstream(&bytes, &size);
    writeReportGrid(out, grid);
    for (size_t i = 0; i < sentences; ++i)
        writeReportSentence(out, tickOf(i), kSaid[i % 3]);
    writeReportData(out, data);
    for (int32_t i = 0; i < data.counters[StepCount]; ++i)
        writeReportStep(out, tickOf(size_t(i)), rowOf(size_t(i)), colOf(size_t(i)));
    writeReportEnd(out);
    std::fclose(out);
    const std::string text(bytes, size);
    std::free(bytes);
    return text;
}

// Every field a report holds, written part by part by the game's writer and
// read back: texts from Windows-1252 to UTF-8, ticks past half the counter,
// the extremes of the counters and of the grid, as many sentences and steps
// as the game keeps, and the time from the report's name.
TEST(ReportFormat, EveryFieldWrittenIsReadBackAsTheGameMeantIt)
{
    struct Case {
        const char* player;  // as typed: Windows-1252
        const char* shown;   // as read: UTF-8
        size_t sentences;
        size_t steps;
        bool reachedEnd;
    };
    const Case cases[] = {
        {"I\xF1igo", "Iñigo", 3, 5, true},
        // The game writes its whole history after the settings line.
        {"", "", kHistorySize + 1, kPathSize, false},
        {"\x80 ana", "€ ana", 0, 0, true},
    };
    Grid grid{};
    for (int i = 0; i < kGridSize * kGridSize; ++i)
        grid[i / kGridSize][i % kGridSize].kind = i % (CellKind::Trap + 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        ReportData data{c.player, "pasillo.quorvane", {}, c.reachedEnd};
        for (int i = 0; i < kCounterCount; ++i)
            data.counters[i] = i == 0 ? INT32_MIN : i == 1 ? INT32_MAX : 11 * i - 40;
        data.counters[StepCount] = static_cast<int32_t>(c.steps);
        ::Report read;
        std::string reason;
        ASSERT_TRUE(parseReport(writtenReport(grid, data, c.sentences), reportFileName(c.player, kMonday3March2008),
                                read, reason)) << reason;
        for (int i = 0; i < kGridSize * kGridSize; ++i)
            ASSERT_EQ(read.kinds[i / kGridSize][i % kGridSize], grid[i / kGridSize][i % kGridSize].kind) << i;
        ASSERT_EQ(read.sentences.size(), c.sentences);
        for (size_t i = 0; i < c.sentences; ++i)
            ASSERT_TRUE(read.sentences[i].tick == tickOf(i) && read.sentences[i].text == kHeard[i % 3]) << i;
        EXPECT_TRUE(read.player == c.shown && read.map == "pasillo.quorvane" && read.reachedEnd == c.reachedEnd);
        EXPECT_TRUE(std::equal(read.counters, read.counters + kCounterCount, data.counters));
        ASSERT_EQ(read.path.size(), c.steps);
        for (size_t i = 0; i < c.steps; ++i)
            ASSERT_TRUE(read.path[i].tick == tickOf(i) && read.path[i].row == rowOf(i) && read.path[i].col == colOf(i))
                << i;
        EXPECT_EQ(read.written, std::optional<std::time_t>(kMonday3March2008));
    }
}

using Report = RecordsTest;

constexpr const char* kReportName = "bd/ana_Mon_Mar__3_09_07_02_2008.db1";

TEST_F(Report, FewerThanTwoStepsWriteNothing)
{
    act(*game, session, 'S');
    EXPECT_FALSE(writeStatisticsReport(*game, session.journal, "ana", &error));
    EXPECT_TRUE(error.empty());
    EXPECT_FALSE(fileExists("bd"));

    act(*game, session, 'S');
    EXPECT_TRUE(writeStatisticsReport(*game, session.journal, "ana", &error)) << error;
    const std::string text = readWholeFile(kReportName);
    const auto path = text.substr(text.find("Camino Avanzado :\n"));
    EXPECT_EQ(path, "Camino Avanzado :\n100000\n1\n2\n100000\n1\n3\nFIN");
}

TEST_F(Report, LevelPlayedThroughIsReportedLineByLine)
{
    playCorridorLevel(*game, session, clock);
    ASSERT_TRUE(game->stats.reachedEnd);
    ASSERT_FALSE(fileExists("bd"));
    ASSERT_TRUE(writeStatisticsReport(*game, session.journal, "ana", &error)) << error;
    const std::string text = readWholeFile(kReportName);

    // The level-start grid: walls but for the corridor on row 1.
    std::string zeros = "0";
    for (int c = 1; c < kGridSize; ++c)
        zeros += " 0";
    const std::string row1 = "0 1 2 " + std::to_string(game->initialCells[1][3].kind) + " " +
                             std::to_string(game->initialCells[1][4].kind) + " 2 6" +
                             zeros.substr(13);
    std::string grid = zeros + "\n" + row1 + "\n";
    for (int r = 2; r < kGridSize; ++r)
        grid += zeros + "\n";
    ASSERT_EQ(text.substr(0, grid.size()), grid);

    // The log: each sentence after its tick, starting with the settings the
    // level started with (said to nobody), then the first step.
    const size_t data = text.find("DATOS :\n");
    ASSERT_NE(data, std::string::npos);
    const std::string log = text.substr(grid.size(), data - grid.size());
    EXPECT_EQ(log.rfind("100000\nAjustes: voz normal, criaturas cada 3 segundos, trampas s\xED, balas infinitas no, "
                        "mapa a la vista no.\n100000\nAvanzaste un paso.\n",
                        0),
              0u)
        << log;
    EXPECT_EQ(static_cast<int>(std::count(log.begin(), log.end(), '\n')), 2 * game->log.historyCount + 2);

    const std::string expected =
        "DATOS :\nNombre :\nana\nMapa :\npasillo.quorvane\n"
        "Tiempo de juego :\n15\n"
        "N\xBA Disparos errados :\n2\n"
        "Disparos errados a monstruos :\n1\n"
        "Disparos errados a mutantes :\n0\n"
        "Disparos errados a supermonstruos :\n0\n"
        "Disparos errados en pasillo :\n1\n"
        "N\xBA Pasos en falso :\n0\n"
        "N\xBA Pasos con monstruo :\n1\n"
        "Choque contra la puerta :\n0\n"
        "Error al tomar las balas :\n0\n"
        "Juego Exitoso :\nS\xED\n"
        "N\xBA Pasos avanzados :\n5\n"
        "Balas Final :\n2\n"
        "Camino Avanzado :\n"
        "100000\n1\n2\n101500\n1\n3\n104500\n1\n4\n113200\n1\n5\n115000\n1\n6\n"
        "FIN";
    EXPECT_EQ(text.substr(data), expected);
}

TEST_F(Report, AfterALossNoKeyCountsAndTheSettingsLineSaysWhatTheLevelStartedWith)
{
    game->settings = {true, 5, false};
    game->options.infiniteBullets = false;
    game->options.showMap = true;
    ASSERT_TRUE(game->restartLevel());
    act(*game, session, 'S');  // corridor
    act(*game, session, 'S');  // the bullets, left there
    act(*game, session, 'S');  // the monster
    act(*game, session, sideFor(*game));  // no bullets: lost
    ASSERT_TRUE(game->gameOver && game->player.threatAhead);
    const int journalled = session.journal.journalCount;
    for (char letter : {'S', 'S', 'H', 'J', 'K'})
        act(*game, session, letter);
    EXPECT_EQ(session.journal.journalCount, journalled);

    ASSERT_TRUE(writeStatisticsReport(*game, session.journal, "ana", &error)) << error;
    const std::string text = readWholeFile(kReportName);
    EXPECT_NE(text.find("N\xBA Pasos con monstruo :\n0\n"), std::string::npos);
    EXPECT_NE(text.find("\nAjustes: voz lenta, criaturas cada 5 segundos, trampas no, balas infinitas no, mapa a la "
                        "vista s\xED.\n"),
              std::string::npos);
}

TEST_F(Report, TicksPastHalfTheCounterAppearNegativeAndTheTimeWrapsWithThem)
{
    clock.set(4294966796u);  // 500 ms before the counter wraps
    act(*game, session, 'S');
    clock.advance(2500);
    act(*game, session, 'S');
    ASSERT_TRUE(writeStatisticsReport(*game, session.journal, "ana", &error)) << error;
    const std::string text = readWholeFile(kReportName);
    EXPECT_NE(text.find("Tiempo de juego :\n2\n"), std::string::npos);
    EXPECT_NE(text.find("Camino Avanzado :\n-500\n1\n2\n2000\n1\n3\nFIN"), std::string::npos);
}

// The rescue folder the message names.
std::string namedIn(const std::string& error)
{
    const std::string mark = "se guardó en \"";
    const size_t open = error.find(mark);
    const size_t from = open + mark.size();
    return open == std::string::npos ? "" : error.substr(from, error.find('"', from) - from);
}

TEST_F(Report, EveryReportIsKeptWithinOneSecondAndFromGamesWritingAtOnce)
{
    act(*game, session, 'S');
    act(*game, session, 'S');
    // Four quick levels in one second: each report is kept, numbered.
    const std::string stem = std::string(kReportName).substr(0, std::strlen(kReportName) - 4);
    const std::vector<std::string> names = {kReportName, stem + "-2.db1", stem + "-3.db1", stem + "-4.db1"};
    for (size_t i = 0; i < names.size(); ++i) {
        clock.advance(1000);
        act(*game, session, 'E');
        ASSERT_TRUE(writeStatisticsReport(*game, session.journal, "ana", &error)) << error;
    }
    for (size_t i = 0; i < names.size(); ++i)
        EXPECT_NE(readWholeFile(names[i]).find("juego :\n" + std::to_string(i + 1) + "\n"), std::string::npos) << i;
    // The numbers go on from the highest there, in the order written.
    writeWholeFile(stem + "-1000.db1", "antiguo");
    ASSERT_TRUE(writeStatisticsReport(*game, session.journal, "ana", &error)) << error;
    EXPECT_TRUE(fileExists(stem + "-1001.db1") && !fileExists(stem + "-5.db1"));

    // Four games of one player ending their levels at the same moment.
    std::filesystem::remove_all(here("bd"));
    auto write = [&] { return writeStatisticsReport(*game, session.journal, "ana", nullptr); };
    EXPECT_TRUE(runTogether({write, write, write, write}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(here("bd")), {}), 4);
    EXPECT_TRUE(fileExists(names[3]));
}

TEST_F(Report, AReportBdCannotTakeGoesToAPrivateFolderAndTheMessageSaysWhyAndWhere)
{
    act(*game, session, 'S');
    act(*game, session, 'S');
    ASSERT_TRUE(writeStatisticsReport(*game, session.journal, "ana", &error)) << error;
    const std::string report = readWholeFile(kReportName);
    std::filesystem::remove_all(here("bd"));
    const std::string base = std::string(kReportName).substr(3);
    const std::string cwd = folder();
    const std::string userBd = cwd + "/datos/quorvane/bd/" + base;
    const std::string runtime = cwd + "/run/quorvane/" + base;
    const std::string made = cwd + "/tmp/quorvane-";

    // Each step spoils one more folder: the report goes to the next, or is
    // lost, and the message says which. A link planted under its name in
    // the runtime folder is neither followed nor replaced.
    writeWholeFile("ajeno", "de otro");
    const std::pair<std::function<void()>, std::string> steps[] = {
        {[] { writeWholeFile("bd", "no es una carpeta"); }, userBd},
        {[&] {
             std::filesystem::remove_all(here("datos")), writeWholeFile("datos", "no es una carpeta");
             std::filesystem::create_directories(here("run/quorvane"));
             std::filesystem::create_symlink(cwd + "/ajeno", runtime);
         },
         cwd + "/run/quorvane/ana_Mon_Mar__3_09_07_02_2008-2.db1"},
        {[] { std::filesystem::remove_all(here("run")); }, made},
        {[] { std::filesystem::remove_all(here("tmp")); }, ""},
    };
    for (const auto& [spoil, where] : steps) {
        SCOPED_TRACE(where);
        spoil();
        error.clear();
        EXPECT_FALSE(writeStatisticsReport(*game, session.journal, "ana", &error));
        EXPECT_NE(error.find("\"bd\" no es una carpeta sino un archivo"), std::string::npos) << error;
        const std::string there = namedIn(error);
        if (where.empty()) {
            EXPECT_NE(error.find("se perdió"), std::string::npos) << error;
            continue;
        }
        EXPECT_EQ(there.rfind(where, 0), 0u) << error;
        EXPECT_EQ(readWholeFile(there), report);
        EXPECT_EQ(modeOf(there), 0600u);
        EXPECT_EQ(modeOf(std::filesystem::path(there).parent_path()), 0700u);
    }
    EXPECT_EQ(readWholeFile("bd"), "no es una carpeta");
    EXPECT_EQ(readWholeFile("ajeno"), "de otro");

    // A link where bd/ should be is not followed.
    std::remove(here("bd").c_str());
    std::filesystem::create_directory(here("otra"));
    std::filesystem::create_symlink("otra", here("bd"));
    EXPECT_FALSE(writeStatisticsReport(*game, session.journal, "ana", &error));
    EXPECT_NE(error.find("enlace simbólico"), std::string::npos) << error;
    EXPECT_TRUE(std::filesystem::is_empty(here("otra")));
}

TEST_F(Report, ReportsSavesAndTheirFoldersArePrivateWhateverTheUmaskAndNoLinkIsFollowed)
{
    act(*game, session, 'S');
    act(*game, session, 'S');
    const mode_t oldMask = umask(0);
    ASSERT_TRUE(writeStatisticsReport(*game, session.journal, "ana", &error)) << error;
    chooser.answer = "partida.txt";
    ASSERT_TRUE(saveGame(*game, session, chooser, &error)) << error;
    EXPECT_EQ(modeOf("bd"), 0700u);
    EXPECT_EQ(modeOf(kReportName), 0600u);
    EXPECT_EQ(modeOf("partida.txt"), 0600u);
    umask(oldMask);

    // The level start empties its file; a link in its place, symbolic or
    // hard, would empty a file elsewhere.
    writeWholeFile("ajeno", "de otro");
    for (const bool symbolic : {true, false}) {
        const std::string last = here("UltimoJuego.txt");
        std::remove(last.c_str());
        ASSERT_EQ(symbolic ? symlink("ajeno", last.c_str()) : link(here("ajeno").c_str(), last.c_str()), 0);
        ASSERT_TRUE(game->restartLevel());
        EXPECT_EQ(readWholeFile("ajeno"), "de otro") << symbolic;
    }
    std::remove(here("UltimoJuego.txt").c_str());
    ASSERT_TRUE(game->restartLevel());
    EXPECT_EQ(modeOf("UltimoJuego.txt"), 0600u);
    act(*game, session, 'S');
    act(*game, session, 'S');

    // A save killed before its rename left its temporary file; one still
    // locked belongs to a save under way (another copy of the game).
    const std::string left = safeFileTempPrefix(kReportName) + "Ab12Cd";
    const std::string busy = safeFileTempPrefix(kReportName) + "Zz98Yy";
    const std::string other = safeFileTempPrefix("bd/otro.db1") + "Ab12Cd";
    for (const std::string& name : {left, busy, other})
        writeWholeFile(name, "a medias");
    const int held = open(here(busy).c_str(), O_RDONLY);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    ASSERT_TRUE(writeStatisticsReport(*game, session.journal, "ana", &error)) << error;
    EXPECT_FALSE(fileExists(left));
    EXPECT_TRUE(fileExists(busy));
    EXPECT_TRUE(fileExists(other));
    close(held);
}

}
