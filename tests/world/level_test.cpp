#include <sys/stat.h>

#include <filesystem>
#include <set>

#include "world_fixture.h"

namespace {
const std::vector<std::string> kCorridor = {
    "#####",
    "#S..E",
    "#####",
};
}

TEST_F(WorldTest, FirstInitOpensTheThirteenChannelsOnceAndResetsOptions)
{
    game.options.showMap = game.options.musicOn = game.options.infiniteBullets = game.options.mouseEnabled = true;
    writeFile("first.quorvane", mapText(kCorridor));
    game.firstInit("first.quorvane", sound);

    std::vector<std::string> loads;
    for (const auto& e : sound.events)
        if (e.op == RecordingSound::Op::Load)
            loads.push_back(channelName(game, e.voice) + " " + e.file);
    // Each of the thirteen channels is opened once, with a sound of its own
    // loaded, before the level start's jingle on the channel of extras.
    ASSERT_EQ(loads.size(), 14u);
    std::set<std::string> channels;
    for (size_t i = 0; i + 1 < loads.size(); ++i)
        channels.insert(loads[i].substr(0, loads[i].find(' ')));
    EXPECT_EQ(channels.size(), 13u);
    EXPECT_EQ(loads.back(), "SonidosExtras Sonidos/InicioJuego.wav");
    const PlayOptions& o = game.options;
    EXPECT_FALSE(o.showMap || o.musicOn || o.infiniteBullets || o.mouseEnabled || o.mouseActive);
    EXPECT_TRUE(game.options.musicRestart);
    EXPECT_EQ(game.mapName, "first.quorvane");
    EXPECT_EQ(sound.plays(game).back(), "SonidosExtras once Sonidos/InicioJuego.wav");
}

TEST_F(WorldTest, StartSquareFacingPrefersEastThenWestSouthNorth)
{
    start({"#####",
           "##.##",
           "##S.#",
           "#####"});
    EXPECT_EQ(game.player.row, 2);
    EXPECT_EQ(game.player.col, 2);
    EXPECT_EQ(game.player.facing, Facing::East);
    EXPECT_EQ(game.player.currentCell.kind, CellKind::Start);

    start({"#####",
           "##.##",
           "##S##",
           "##.##"});
    EXPECT_EQ(game.player.facing, Facing::South);

    // Two start squares: the later one in row order wins.
    start({"#####",
           "#S.##",
           "##.S#",
           "##.##"});
    EXPECT_EQ(game.player.row, 2);
    EXPECT_EQ(game.player.col, 3);
    EXPECT_EQ(game.player.facing, Facing::West);
}

TEST_F(WorldTest, StartSquareOnTheEdgeLooksOnlyInsideTheGrid)
{
    start({"S....",
           ".####"});
    EXPECT_EQ(game.player.row, 0);
    EXPECT_EQ(game.player.col, 0);
    EXPECT_EQ(game.player.facing, Facing::East);
}

TEST_F(WorldTest, LevelStartResetsTheLevelAndKeepsASnapshot)
{
    start(kCorridor);
    game.player.lives = 2;
    game.stats.missedShots = game.stats.wallBumps = game.stats.stepCount = 7;
    game.gameOver = game.player.threatAhead = game.player.doorAhead = true;
    game.options.hudShown = game.stats.reachedEnd = true;
    game.addMessage("x\n");
    game.options.infiniteBullets = true;
    sound.clear();

    game.startLevel();
    EXPECT_EQ(game.player.lives, 6);
    EXPECT_EQ(game.player.bullets, kInfiniteBullets);
    EXPECT_EQ(game.stats.missedShots + game.stats.wallBumps + game.stats.stepCount, 0);
    EXPECT_FALSE(game.gameOver || game.player.threatAhead || game.player.doorAhead);
    EXPECT_FALSE(game.options.hudShown || game.stats.reachedEnd);
    EXPECT_EQ(game.log.historyCount, 0);
    EXPECT_EQ(game.log.visible[0], nullptr);
    EXPECT_EQ(plays(), std::vector<std::string>{"SonidosExtras once Sonidos/InicioJuego.wav"});
    int stops = 0;
    for (const auto& e : sound.events)
        if (e.op == RecordingSound::Op::Stop)
            ++stops;
    EXPECT_EQ(stops, 2);  // the final music and the creature loop
    EXPECT_TRUE(std::filesystem::exists("UltimoJuego.txt"));
    EXPECT_EQ(std::memcmp(game.cells, game.initialCells, sizeof(Grid)), 0);
}

TEST_F(WorldTest, ResetAfterLoadKeepsTheCountersAndRestartClearsThem)
{
    start(kCorridor);
    game.stats.wallBumps = 3;
    game.stats.stepCount = 2;
    game.stats.reachedEnd = true;
    game.resetLevelAfterLoad();
    EXPECT_EQ(game.stats.wallBumps, 3);
    EXPECT_EQ(game.stats.stepCount, 2);
    EXPECT_TRUE(game.stats.reachedEnd);
    EXPECT_EQ(game.player.lives, 6);

    ASSERT_TRUE(game.restartLevel());
    EXPECT_EQ(game.stats.wallBumps, 0);
    EXPECT_EQ(game.stats.stepCount, 0);
    EXPECT_FALSE(game.stats.reachedEnd);
}

TEST_F(WorldTest, CommentsEmptyLinesAndWindowsLineEndsReadLikePlainLines)
{
    std::string text = mapText(kCorridor, "\r\n");
    // A comment and an empty line between data lines.
    const size_t second = text.find("\r\n", text.find("\r\n") + 2) + 2;
    text.insert(second, "/ a comment\r\n\r\n\n");
    writeFile("crlf.quorvane", text);
    writeFile("lf.quorvane", mapText(kCorridor));
    game.firstInit("lf.quorvane", sound);
    Grid lf;
    std::memcpy(lf, game.cells, sizeof(Grid));
    ASSERT_TRUE(game.loadMap("crlf.quorvane")) << game.lastLoadError;
    EXPECT_EQ(std::memcmp(lf, game.cells, sizeof(Grid)), 0);
}

TEST_F(WorldTest, DataLineOf254CharactersIsReadWhole)
{
    std::string text = mapText(kCorridor);
    // Pad the second data line (the start row) to 254 characters before its line feed.
    size_t lineStart = text.find('\n', text.find('\n') + 1) + 1;
    size_t lineEnd = text.find('\n', lineStart);
    text.insert(lineStart, std::string(254 - (lineEnd - lineStart), ' '));
    writeFile("long.quorvane", text);
    game.firstInit("long.quorvane", sound);
    EXPECT_TRUE(game.lastLoadError.empty()) << game.lastLoadError;
    EXPECT_EQ(game.player.row, 1);
    EXPECT_EQ(game.player.col, 1);
    EXPECT_EQ(game.cells[1][4].kind, CellKind::Exit);
}

TEST_F(WorldTest, BrokenMapsAreRefusedAndTheLevelInPlayStays)
{
    start(kCorridor);
    game.stats.wallBumps = 4;
    Grid before;
    std::memcpy(before, game.cells, sizeof(Grid));
    const std::string name = game.mapName;

    std::string full = mapText(kCorridor);
    size_t cut = 0;
    for (int line = 0; line < 21; ++line)  // the comment and 20 data lines
        cut = full.find('\n', cut) + 1;
    writeFile("short.quorvane", full.substr(0, cut) + "/ ends in a comment\n");
    writeFile("code13.quorvane", "13" + full.substr(full.find('\n') + 2));
    writeFile("empty.quorvane", "");
    std::string huge = full;
    huge.replace(huge.find('\n') + 1, 1, "99999999999");
    writeFile("huge.quorvane", huge);
    std::string text = full;
    const size_t row1 = text.find('\n', text.find('\n') + 1) + 1;
    text.replace(row1, text.find('\n', row1) - row1, "0 3 x 8");
    writeFile("shortline.quorvane", text);
    // A line past the 254 characters the reader takes: its rest is read as
    // the next row, which is then short.
    std::string wide = full;
    const size_t row0End = wide.find('\n', wide.find('\n') + 1);
    wide.insert(row0End, std::string(300, ' ') + "0");
    writeFile("wide.quorvane", wide);
    writeFile("nostart.quorvane", mapText({"#####", "#...E", "#####"}));
    // Names that are no file: a FIFO with no writer would block a plain open.
    std::filesystem::remove_all("folder.quorvane");
    std::filesystem::create_directory("folder.quorvane");
    std::filesystem::remove("pipe.quorvane");
    ASSERT_EQ(::mkfifo("pipe.quorvane", 0600), 0);

    // Each refusal says what is wrong.
    const std::pair<const char*, const char*> broken[] = {
        {"missing.quorvane", "no existe"},
        {"folder.quorvane", "es una carpeta, no un archivo"},
        {"pipe.quorvane", "es una tubería (FIFO), no un archivo"},
        {"short.quorvane", "termina con 20 filas"},
        {"code13.quorvane", "el código 13"},
        {"empty.quorvane", "termina con 0 filas"},
        {"huge.quorvane", "el número 99999999999 en la casilla 1, fuera de rango"},
        {"shortline.quorvane", "tiene \"x\" donde va el código de la casilla 3"},
        {"wide.quorvane", "tiene 1 códigos de los 30"},
        {"nostart.quorvane", "no tiene casilla de inicio"},
    };
    for (const auto& [map, why] : broken) {
        SCOPED_TRACE(map);
        EXPECT_FALSE(game.loadMap(map));
        EXPECT_NE(game.lastLoadError.find(why), std::string::npos) << game.lastLoadError;
        EXPECT_EQ(std::memcmp(before, game.cells, sizeof(Grid)), 0);
        EXPECT_EQ(game.mapName, name);
        EXPECT_EQ(game.stats.wallBumps, 4);
    }
    std::filesystem::remove("pipe.quorvane");

    // A restart whose map has gone leaves the level as it is.
    writeFile("gone.quorvane", full);
    ASSERT_TRUE(game.loadMap("gone.quorvane"));
    game.stats.wallBumps = 5;
    std::filesystem::remove("gone.quorvane");
    EXPECT_FALSE(game.restartLevel());
    EXPECT_EQ(game.stats.wallBumps, 5);
}

