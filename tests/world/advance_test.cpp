#include "world_fixture.h"

#include "announcements.h"

TEST_F(WorldTest, AStepMovesRecordsThePathAndPlaysFootsteps)
{
    start({"#####",
           "#S..#",
           "#####"});
    clock.set(123456);
    game.advance();
    EXPECT_EQ(game.player.col, 2);
    EXPECT_EQ(game.stats.stepCount, 1);
    EXPECT_EQ(game.stats.stepTicks[0], 123456u);
    EXPECT_EQ(game.stats.stepRows[0], 1);
    EXPECT_EQ(game.stats.stepCols[0], 2);
    EXPECT_TRUE(game.player.turnPending);
    EXPECT_EQ(plays(), std::vector<std::string>{"SonidoPasos once Sonidos/Pasos.wav"});
    EXPECT_EQ(log(), std::vector<std::string>{"Avanzaste un paso.\n"});
}

TEST_F(WorldTest, WallBumpUndoesTheStepAndRestoresTheSquare)
{
    start({"####",
           "#S.#",
           "####"});
    game.advance();
    game.player.currentCell.kind = CellKind::Wall;  // as if its content had been dealt with
    game.player.turnPending = false;
    game.player.threatAhead = true;
    sound.clear();
    game.advance();
    EXPECT_EQ(game.player.col, 2);
    EXPECT_EQ(game.stats.stepCount, 1);
    EXPECT_EQ(game.stats.wallBumps, 1);
    EXPECT_TRUE(game.player.turnPending);
    EXPECT_TRUE(game.player.threatAhead);
    EXPECT_EQ(game.player.currentCell.kind, CellKind::Corridor);
    EXPECT_EQ(plays(), std::vector<std::string>{"sonido once Sonidos/Choque.wav"});
    EXPECT_EQ(game.log.historyCount, 1);
}

TEST_F(WorldTest, AnOpenMapEdgeIsAWall)
{
    start({"S" + std::string(kGridSize - 1, '.')});
    for (int i = 0; i < kGridSize + 1; ++i)
        game.advance();
    EXPECT_EQ(game.player.col, kGridSize - 1);
    EXPECT_EQ(game.stats.wallBumps, 2);
}

// Stepping onto a content plays its announcement and writes its sentence;
// the sound stands on the content's side and the sentence names that side;
// a creature loops on the creatures' channel, anything else plays once.
TEST_F(WorldTest, EveryContentIsAnnouncedWithItsSoundChannelModeSentenceAndFlags)
{
    const char* const kSideFile[] = {"Izq.wav", "Cen.wav", "Der.wav"};
    const char* const kSideWord[] = {"izquierda", "centro", "derecha"};
    for (int32_t kind = CellKind::DoorCentre; kind <= CellKind::SuperRight; ++kind) {
        if (kind == CellKind::Exit)
            continue;
        SCOPED_TRACE(kind);
        start({"####",
               "#S.#",
               "####"});
        place(1, 2, kind);
        game.advance();
        const Announcement a = announcementFor(kind);
        ASSERT_TRUE(a.sound && a.message);
        const std::string channel = isCreature(kind) ? "SonidoMonstruos loop " : "sonido once ";
        EXPECT_EQ(plays(), (std::vector<std::string>{"SonidoPasos once Sonidos/Pasos.wav", channel + a.sound}));
        EXPECT_EQ(log(), (std::vector<std::string>{"Avanzaste un paso.\n", a.message}));
        // Doors are centre, left, right; bullets and creatures left, centre, right.
        const int kDoorSide[] = {1, 0, 2};
        const int side = kind <= CellKind::DoorRight ? kDoorSide[kind - CellKind::DoorCentre]
                                                     : (kind - CellKind::BulletsLeft) % 3;
        const std::string file = a.sound;
        EXPECT_EQ(file.substr(file.size() - 7), kSideFile[side]);
        EXPECT_NE(std::string(a.message).find(kSideWord[side]), std::string::npos);
        EXPECT_EQ(game.player.doorAhead, kind == CellKind::DoorCentre);
        EXPECT_EQ(game.player.threatAhead, isCreature(kind));
        EXPECT_FALSE(game.gameOver);
    }
}

TEST_F(WorldTest, AShutCentreDoorOnlyRepeatsTheBump)
{
    start({"#####",
           "#SC.#",
           "#####"});
    game.advance();
    game.player.turnPending = false;
    sound.clear();
    for (int i = 0; i < 3; ++i)
        game.advance();
    EXPECT_EQ(game.player.col, 2);
    EXPECT_EQ(game.stats.doorBumps, 3);
    EXPECT_FALSE(game.player.turnPending);
    EXPECT_EQ(plays(), std::vector<std::string>(3, "sonido once Sonidos/ErrarCen.wav"));
    EXPECT_EQ(game.log.historyCount, 2);
}

TEST_F(WorldTest, TheTrapPlaysToTheEndThenEndsTheLevel)
{
    start({"####",
           "#S.#",
           "####"});
    place(1, 2, CellKind::Trap);
    game.advance();
    EXPECT_EQ(sound.blocking(), (std::vector<std::string>{"Sonidos/Trampa.wav", "Sonidos/ATT_VolverAJugar.wav"}));
    EXPECT_EQ(log(), (std::vector<std::string>{"Avanzaste un paso.\n", "Has sido atrapado.\n",
                                               "Presiona enter para volver a jugar.\n"}));
    EXPECT_TRUE(game.stats.reachedEnd);
    EXPECT_TRUE(game.gameOver);
    EXPECT_EQ(game.stats.stepCount, 1);
}

TEST_F(WorldTest, AFacingOutsideTheFourDirectionsStaysButStillCountsAStep)
{
    start({"####",
           "#S.#",
           "####"});
    game.player.facing = 9;
    game.advance();
    EXPECT_EQ(game.player.col, 1);
    EXPECT_EQ(game.stats.stepCount, 1);
    EXPECT_EQ(log(), std::vector<std::string>{"Avanzaste un paso.\n"});
}

TEST_F(WorldTest, WalkingBackMeetsTheSquareAsTheGridHoldsIt)
{
    start({"#####",
           "#S.M#",
           "#####"});
    place(1, 3, CellKind::MonsterLeft);
    game.advance();
    game.advance();
    game.player.currentCell.kind = CellKind::Wall;  // killed
    game.player.threatAhead = false;
    game.player.facing = Facing::West;
    game.advance();
    game.player.facing = Facing::East;
    game.advance();
    EXPECT_EQ(game.player.currentCell.kind, CellKind::MonsterLeft);
    EXPECT_EQ(game.player.currentCell.monsterHp, 3);
    EXPECT_TRUE(game.player.threatAhead);
}

TEST_F(WorldTest, APathLongerThanTheRecordKeepsItsFirstSteps)
{
    start({"#####",
           "#S..#",
           "#####"});
    for (int i = 0; i < kPathSize + 20; ++i) {
        game.player.facing = (i % 2) ? Facing::West : Facing::East;
        game.advance();
    }
    EXPECT_EQ(game.stats.stepCount, kPathSize);
    EXPECT_EQ(game.stats.stepCols[0], 2);
    EXPECT_EQ(game.stats.stepCols[1], 1);
}
