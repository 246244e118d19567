#include <csignal>
#include <cstring>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>

#include "journal.h"
#include "records_fixture.h"
#include "replay.h"
#include "report.h"
#include "saved_game.h"
#include "saved_game_format.h"

namespace {
using SavedGame = RecordsTest;

std::string gridText(const Grid& grid)
{
    std::string text;
    for (const auto& row : grid) {
        for (int c = 0; c < kGridSize; ++c)
            text += (c ? " " : "") + std::to_string(row[c].kind);
        text += "\n";
    }
    return text;
}

std::string withCrLf(const std::string& text)
{
    std::string out;
    for (char ch : text) {
        if (ch == '\n')
            out += '\r';
        out += ch;
    }
    return out;
}

// Temporary files a save left behind.
std::vector<std::string> strayFiles()
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(here(".")))
        if (entry.path().filename().string().find(".txt.") != std::string::npos)
            names.push_back(entry.path().filename().string());
    return names;
}

TEST_F(SavedGame, SaveThenLoadGivesBackGridJournalAndTicksPastHalfTheCounter)
{
    clock.set(3000000000u);
    playCorridorLevel(*game, session, clock);
    Grid recordedGrid;
    std::memcpy(recordedGrid, game->initialCells, sizeof(Grid));
    const Journal recorded = session.journal;

    chooser.answer = "partida";
    ASSERT_TRUE(saveGame(*game, session, chooser, &error)) << error;
    EXPECT_EQ(chooser.asked.back(), "save Guardar Juego (*.txt) *.txt");
    EXPECT_EQ(session.saveFileName, "partida.txt");
    EXPECT_TRUE(chooser.questions.empty()) << "nothing replaced";
    const std::string text = readWholeFile("partida.txt");
    EXPECT_EQ(text.substr(0, gridText(recordedGrid).size()), gridText(recordedGrid));
    EXPECT_NE(text.find("\n-1294967296\nS\n-1294966596\nJ\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 6), "\nS\nFIN");
    EXPECT_TRUE(strayFiles().empty());

    // A different level in play: the load replaces it whole.
    ASSERT_TRUE(game->restartLevel());
    resetJournalAndReplay(session);
    game->cells[1][4].monsterHp = 0;
    game->options.infiniteBullets = game->options.musicOn = game->options.mouseEnabled = true;
    game->stats.stepCount = 4;
    act(*game, session, 'S');
    sounds.clear();

    ASSERT_TRUE(loadGame(*game, session, chooser, sounds, &error)) << error;
    EXPECT_EQ(chooser.asked.back(), "open Cargar Juego Juego (*.txt) *.txt");
    EXPECT_EQ(gridText(game->cells), gridText(recordedGrid));
    EXPECT_EQ(gridText(game->initialCells), gridText(recordedGrid));
    ASSERT_EQ(session.replay.replayCount, recorded.journalCount);
    for (int i = 0; i < recorded.journalCount; ++i) {
        EXPECT_EQ(session.replay.replayList[i].key, recorded.entries[i].key) << i;
        EXPECT_EQ(session.replay.replayList[i].tick, recorded.entries[i].tick) << i;
    }
    EXPECT_TRUE(session.replay.replaying);
    EXPECT_EQ(session.replay.replayPosition, 0);

    // The player stands on the start square; the loaded level starts afresh
    // with the creatures at full strength and the options reset.
    EXPECT_EQ(game->player.row, 1);
    EXPECT_EQ(game->player.col, 1);
    EXPECT_EQ(game->player.facing, Facing::East);
    EXPECT_EQ(game->cells[1][4].monsterHp, 3);
    EXPECT_TRUE(game->options.showMap);
    const PlayOptions& o = game->options;
    EXPECT_FALSE(o.infiniteBullets || o.musicOn || o.mouseEnabled || o.mouseActive);
    EXPECT_EQ(game->player.bullets, 0);
    EXPECT_EQ(game->stats.stepCount, 0);
    EXPECT_EQ(session.journal.journalCount, 0);
    EXPECT_EQ(game->mapName, kCorridorMap);

    // Ten channels opened afresh, the prompts left alone, then the start sound.
    int opened = 0;
    for (const auto& event : sounds.events)
        opened += event.op == RecordingSound::Op::Open;
    EXPECT_EQ(opened, 10);
    const auto plays = sounds.plays(*game);
    ASSERT_FALSE(plays.empty());
    EXPECT_EQ(plays.back(), "SonidosExtras once Sonidos/InicioJuego.wav");

    // The report names what was played: the saved game, then, after a
    // restart (which reads the map played before), the map again.
    for (const char* played : {"partida.txt", kCorridorMap}) {
        if (played == kCorridorMap) {
            ASSERT_TRUE(game->restartLevel());
        }
        resetJournalAndReplay(session);
        std::filesystem::remove_all(here("bd"));
        act(*game, session, 'S');
        act(*game, session, 'S');
        ASSERT_TRUE(writeStatisticsReport(*game, session.journal, "ana", &error)) << error;
        const std::string report = readWholeFile("bd/ana_Mon_Mar__3_09_07_02_2008.db1");
        EXPECT_NE(report.find(std::string("\nMapa :\n") + played + "\n"), std::string::npos) << played;
    }
}

TEST_F(SavedGame, SavedAndLoadedInAnotherFolderAndOverAMapOrAForeignFileOnlyOnYes)
{
    ASSERT_EQ(::mkdir(here("otra").c_str(), 0700), 0);
    chooser.answer = here("otra") + "/partida";
    ASSERT_TRUE(saveGame(*game, session, chooser, &error)) << error;
    EXPECT_FALSE(fileExists("partida.txt")) << "not in the game's folder";
    chooser.answer += ".txt";
    ASSERT_TRUE(loadGame(*game, session, chooser, sounds, &error)) << error;

    writeWholeFile("notas.txt", "la lista de la clase\n");
    const std::pair<const char*, const char*> cases[] = {{kCorridorMap, "es un mapa. ¿Reemplazar"},
                                                         {"notas.txt", "no es una partida guardada. ¿Reemplazar"}};
    for (const auto& [name, asked] : cases) {
        const std::string before = readWholeFile(name);
        chooser.answer = name;
        for (bool yes : {false, true}) {
            chooser.yes = yes;
            chooser.questions.clear();
            EXPECT_EQ(saveGame(*game, session, chooser, &error), yes) << name;
            ASSERT_EQ(chooser.questions.size(), 1u) << name;
            EXPECT_NE(chooser.questions[0].find(std::string(name) + "\" "), std::string::npos);
            EXPECT_NE(chooser.questions[0].find(asked), std::string::npos) << chooser.questions[0];
            EXPECT_EQ(readWholeFile(name) == before, !yes) << name;
        }
    }
    // A saved game is replaced without a question, as before.
    chooser.questions.clear();
    EXPECT_TRUE(saveGame(*game, session, chooser, &error)) << error;
    EXPECT_TRUE(chooser.questions.empty());
}

TEST_F(SavedGame, EmptyJournalSavesTheGridAndFinAndReplaysNothing)
{
    chooser.answer = "vacia.txt";
    ASSERT_TRUE(saveGame(*game, session, chooser, &error)) << error;
    EXPECT_EQ(readWholeFile("vacia.txt"), gridText(game->initialCells) + "FIN");

    ASSERT_TRUE(loadGame(*game, session, chooser, sounds, &error)) << error;
    EXPECT_EQ(session.replay.replayCount, 0);
    EXPECT_EQ(replayTick(session.replay, session.clock.now()), 0);
    EXPECT_FALSE(session.replay.replaying);
}

TEST_F(SavedGame, WindowsLineEndsCommentsAndAFinalLineEndAreRead)
{
    act(*game, session, 'S');
    clock.advance(400);
    act(*game, session, 'E');
    clock.advance(300);
    act(*game, session, 'S');
    chooser.answer = "p.txt";
    ASSERT_TRUE(saveGame(*game, session, chooser, &error)) << error;
    const std::string saved = readWholeFile("p.txt");

    const std::string variants[] = {
        withCrLf(saved),
        withCrLf(saved) + "\r",
        withCrLf(saved) + "\r\n",
        "/ partida de prueba\n\n" + saved.substr(0, saved.size() - 3) + "/ fin\n\nFIN\n",
    };
    for (const std::string& variant : variants) {
        writeWholeFile("p.txt", variant);
        session.replay = ReplayState{};
        ASSERT_TRUE(loadGame(*game, session, chooser, sounds, &error)) << error << "\n" << variant;
        ASSERT_EQ(session.replay.replayCount, 3);
        EXPECT_EQ(session.replay.replayList[0].key, 'S');
        EXPECT_EQ(session.replay.replayList[1].key, 'E');
        EXPECT_EQ(session.replay.replayList[2].tick, 100700u);
    }
}

TEST_F(SavedGame, BrokenFilesAreRefusedWithAReasonAndTheGameGoesOnUnchanged)
{
    act(*game, session, 'S');
    act(*game, session, 'J');
    const std::string grid = gridText(game->initialCells);
    std::string noStart = grid;
    noStart[noStart.find(" 1 ") + 1] = '2';
    std::string badKind = grid;
    badKind.replace(0, 1, "20");
    std::string shortRow = grid;
    shortRow.replace(0, shortRow.find('\n'), "0 0 0");
    std::string textInRow = grid;
    textInRow.replace(0, 1, "x");
    size_t tenth = 0;
    for (int i = 0; i < 10; ++i)
        tenth = grid.find('\n', tenth) + 1;
    const std::string lines10 = grid.substr(0, tenth);

    std::string hugeKind = grid;
    hugeKind.replace(0, 1, "99999999999");

    struct Case {
        const char* what;
        std::string bytes;
        const char* why = "";  // what the message must say, beyond the name
    };
    const Case cases[] = {
        {"empty file", ""},
        {"ten grid lines", lines10},
        {"short grid row", shortRow + "FIN"},
        {"text in the grid", textInRow + "FIN"},
        {"kind out of range", badKind + "FIN", "el valor 20, fuera de 0 a 19"},
        {"kind past 32 bits", hugeKind + "FIN", "el número 99999999999 en la casilla 1, fuera de 0 a 19"},
        {"no start square", noStart + "FIN"},
        {"grid line past the buffer", std::string(300, ' ') + grid + "FIN"},
        {"no FIN", grid + "100\nS\n"},
        {"tick without letter", grid + "100\n"},
        {"FIN followed by text", grid + "FIN y mas"},
        {"text for a tick", grid + "12a\nS\nFIN"},
        {"tick over 32 bits", grid + "4294967296\nS\nFIN", "(4294967296) está fuera del rango de 32 bits"},
        {"tick under 32 bits", grid + "-2147483649\nS\nFIN", "fuera del rango de 32 bits"},
        {"unknown letter", grid + "100\nX\nFIN"},
        {"number for a letter", grid + "100\n200\nFIN"},
    };
    const std::string before = gameFingerprint(*game, session, sounds);
    chooser.answer = "rota.txt";
    for (const Case& c : cases) {
        writeWholeFile("rota.txt", c.bytes);
        error.clear();
        EXPECT_FALSE(loadGame(*game, session, chooser, sounds, &error)) << c.what;
        EXPECT_NE(error.find("rota.txt"), std::string::npos) << c.what << ": " << error;
        EXPECT_NE(error.find(c.why), std::string::npos) << c.what << ": " << error;
        EXPECT_EQ(gameFingerprint(*game, session, sounds), before) << c.what;
    }

    chooser.answer = "no_existe.txt";
    EXPECT_FALSE(loadGame(*game, session, chooser, sounds, &error));
    EXPECT_NE(error.find("no existe"), std::string::npos) << error;
    ASSERT_EQ(mkdir(here("carpeta.txt").c_str(), 0755), 0);
    chooser.answer = "carpeta.txt";
    EXPECT_FALSE(loadGame(*game, session, chooser, sounds, &error));
    EXPECT_NE(error.find("es una carpeta"), std::string::npos) << error;
    // A FIFO with no writer: refused at once, where a plain open would wait.
    ASSERT_EQ(mkfifo(here("tubo.txt").c_str(), 0600), 0);
    chooser.answer = "tubo.txt";
    EXPECT_FALSE(loadGame(*game, session, chooser, sounds, &error));
    EXPECT_NE(error.find("es una tubería (FIFO)"), std::string::npos) << error;
    EXPECT_EQ(gameFingerprint(*game, session, sounds), before);

    chooser.cancel = true;
    error.clear();
    EXPECT_FALSE(loadGame(*game, session, chooser, sounds, &error));
    EXPECT_TRUE(error.empty());
    EXPECT_EQ(gameFingerprint(*game, session, sounds), before);
}

TEST_F(SavedGame, TicksAreReadUnsignedOrAsTheSignedReadingOfTheSameBits)
{
    Tick tick = 0;
    EXPECT_TRUE(parseTickLine("-1294967296\n", tick));
    EXPECT_EQ(tick, 3000000000u);
    EXPECT_TRUE(parseTickLine("4294967295\r\n", tick));
    EXPECT_EQ(tick, 4294967295u);
    EXPECT_TRUE(parseTickLine(" -2147483648 ", tick));
    EXPECT_EQ(tick, 2147483648u);
    EXPECT_TRUE(parseTickLine("-0", tick));
    EXPECT_EQ(tick, 0u);
    for (const char* bad : {"", "-", "+", "1 2", "99999999999999999999", "0x10", "1e3"})
        EXPECT_FALSE(parseTickLine(bad, tick)) << bad;
}

TEST_F(SavedGame, AFailedSaveLeavesTheFileItWouldReplace)
{
    writeWholeFile("vieja.txt", "la partida de ayer");
    act(*game, session, 'S');
    chooser.yes = true;  // replacing what is not a saved game is agreed to

    // The disk fills up while writing: over an old file, which is kept and
    // said to be, and as a new one, where there is nothing to keep.
    for (const char* name : {"vieja.txt", "nueva.txt"}) {
        SCOPED_TRACE(name);
        const bool existed = fileExists(name);
        chooser.answer = name;
        struct rlimit old {};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit tiny = old;
        tiny.rlim_cur = 100;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
        const bool saved = saveGame(*game, session, chooser, &error);
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        EXPECT_FALSE(saved);
        EXPECT_NE(error.find(name), std::string::npos) << error;
        EXPECT_EQ(error.find("anterior no se ha tocado") != std::string::npos, existed) << error;
        EXPECT_EQ(fileExists(name), existed);
        EXPECT_TRUE(strayFiles().empty());
    }
    EXPECT_EQ(readWholeFile("vieja.txt"), "la partida de ayer");

    // A folder stands where the file would go.
    chooser.answer = "carpeta.txt";
    ASSERT_EQ(mkdir(here("carpeta.txt").c_str(), 0755), 0);
    error.clear();
    EXPECT_FALSE(saveGame(*game, session, chooser, &error));
    EXPECT_NE(error.find("carpeta"), std::string::npos) << error;
    EXPECT_TRUE(std::filesystem::is_directory(here("carpeta.txt")));
    EXPECT_TRUE(strayFiles().empty());

    // Saving over an existing file, once agreed to, replaces it.
    chooser.answer = "vieja.txt";
    ASSERT_TRUE(saveGame(*game, session, chooser, &error)) << error;
    EXPECT_EQ(readWholeFile("vieja.txt").substr(0, 2), "0 ");
}

TEST_F(SavedGame, AFullJournalSavesAndLoadsItsThousandEntries)
{
    for (int i = 0; i < kJournalSize + 5; ++i) {
        recordAction(session.journal, i % 2 ? 'E' : 'W', session.clock.now());
        clock.advance(10);
    }
    ASSERT_EQ(session.journal.journalCount, kJournalSize);
    chooser.answer = "llena.txt";
    ASSERT_TRUE(saveGame(*game, session, chooser, &error)) << error;

    // A longer file, as another program might write, is read to its 1000th entry.
    std::string text = readWholeFile("llena.txt");
    text = text.substr(0, text.size() - 3) + "5\nS\n6\nS\nFIN";
    writeWholeFile("llena.txt", text);
    ASSERT_TRUE(loadGame(*game, session, chooser, sounds, &error)) << error;
    ASSERT_EQ(session.replay.replayCount, kJournalSize);
    EXPECT_EQ(session.replay.replayList[kJournalSize - 1].key, 'E');

    // The last entries keep their recorded spacing.
    session.replay.replayPosition = kJournalSize - 2;
    session.replay.lastReplayTick = clock.now();
    clock.advance(11);
    EXPECT_EQ(replayTick(session.replay, session.clock.now()), 'W');
    clock.advance(10);
    EXPECT_EQ(replayTick(session.replay, session.clock.now()), 0);
    clock.advance(1);
    EXPECT_EQ(replayTick(session.replay, session.clock.now()), 'E');
    clock.advance(1);
    EXPECT_EQ(replayTick(session.replay, session.clock.now()), 0);
    EXPECT_FALSE(session.replay.replaying);
}

TEST_F(SavedGame, ALoadDuringAReplayRestartsItFromTheNewGame)
{
    writeWholeFile("a.txt", gridText(game->initialCells) + "100\nS\n200\nS\n300\nS\nFIN");
    writeWholeFile("b.txt", gridText(game->initialCells) + "5000\nH\n5100\nK\nFIN");
    chooser.answer = "a.txt";
    ASSERT_TRUE(loadGame(*game, session, chooser, sounds, &error)) << error;
    EXPECT_EQ(replayTick(session.replay, session.clock.now()), 'S');
    ASSERT_EQ(session.replay.replayPosition, 1);

    chooser.answer = "b.txt";
    ASSERT_TRUE(loadGame(*game, session, chooser, sounds, &error)) << error;
    EXPECT_EQ(session.replay.replayCount, 2);
    EXPECT_EQ(session.replay.replayPosition, 0);
    EXPECT_TRUE(session.replay.replaying);
    EXPECT_EQ(replayTick(session.replay, session.clock.now()), 'H');
}
}
