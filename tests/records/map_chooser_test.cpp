#include <sys/stat.h>
#include <unistd.h>

#include "journal.h"
#include "records_fixture.h"
#include "replay.h"
#include "saved_game.h"

namespace {
using MapChooser = RecordsTest;

TEST_F(MapChooser, AChosenMapStartsALevelWithAnEmptyJournalAndNoReplay)
{
    writeCorridorMap("otro.quorvane");
    act(*game, session, 'S');
    act(*game, session, 'S');
    const JournalEntry entries[] = {{'S', 1}, {'S', 2}};
    startReplay(session.replay, entries, 2);

    // Typed without extension, the map's own is added, not the saved games';
    // a map in another folder is read there.
    ASSERT_EQ(::mkdir(here("mapas").c_str(), 0700), 0);
    writeCorridorMap("mapas/otro.quorvane");
    ::unlink(here("otro.quorvane").c_str());
    chooser.answer = "mapas/otro";
    ASSERT_TRUE(chooseMap(*game, session, chooser, &error)) << error;
    EXPECT_EQ(chooser.asked.back(), "open Cambiar Mapa Mapa (*.quorvane) *.quorvane");
    EXPECT_EQ(session.mapFileName, "mapas/otro.quorvane");
    EXPECT_EQ(game->mapName, "mapas/otro.quorvane");
    EXPECT_EQ(game->player.col, 1);
    EXPECT_EQ(game->stats.stepCount, 0);
    EXPECT_EQ(session.journal.journalCount, 0);
    EXPECT_FALSE(session.replay.replaying);
    EXPECT_EQ(session.replay.replayCount, 0);
}

TEST_F(MapChooser, AMapThatCannotBeReadLeavesTheLevelInPlay)
{
    act(*game, session, 'S');
    writeWholeFile("corto.quorvane", "1 3 3\n");
    const std::string before = gameFingerprint(*game, session, sounds);
    for (const char* name : {"corto.quorvane", "falta.quorvane"}) {
        chooser.answer = name;
        error.clear();
        EXPECT_FALSE(chooseMap(*game, session, chooser, &error)) << name;
        EXPECT_NE(error.find(name), std::string::npos) << error;
        EXPECT_EQ(gameFingerprint(*game, session, sounds), before) << name;
    }
    chooser.cancel = true;
    error.clear();
    EXPECT_FALSE(chooseMap(*game, session, chooser, &error));
    EXPECT_TRUE(error.empty());
    EXPECT_EQ(gameFingerprint(*game, session, sounds), before);
}

TEST_F(MapChooser, KeptPathsKeepTheirFolderAndGetTheDefaultExtension)
{
    std::string kept = "anterior.txt";
    const std::string longest = std::string(90, 'm') + ".quorvane";
    EXPECT_TRUE(keepChosenFile(longest, kept, &error));
    EXPECT_EQ(kept, longest);
    EXPECT_TRUE(keepChosenFile("/tmp/otra carpeta/" + longest, kept, &error));
    EXPECT_EQ(kept, "/tmp/otra carpeta/" + longest);

    EXPECT_FALSE(keepChosenFile("/tmp/" + std::string(91, 'm') + ".quorvane", kept, &error));
    EXPECT_NE(error.find("99"), std::string::npos) << error;
    EXPECT_FALSE(keepChosenFile(std::string(4090, 'd') + "/a.txt", kept, &error));
    EXPECT_NE(error.find("4095"), std::string::npos) << error;
    EXPECT_FALSE(keepChosenFile("carpeta/", kept, &error));
    EXPECT_EQ(kept, "/tmp/otra carpeta/" + longest);

    EXPECT_TRUE(keepChosenFile("dir.con.punto/sin_extension", kept, &error));
    EXPECT_EQ(kept, "dir.con.punto/sin_extension.txt");
    // The extension comes before the limit is checked.
    EXPECT_FALSE(keepChosenFile(std::string(96, 'n'), kept, &error));

    writeCorridorMap(longest);
    chooser.answer = longest;
    EXPECT_TRUE(chooseMap(*game, session, chooser, &error)) << error;
    EXPECT_EQ(game->mapName, longest);
}
}
