#include "world_fixture.h"

TEST_F(WorldTest, AStepMovesRecordsThePathAndPlaysFootsteps)
{
    start({"#####",
           "#S..#",
           "#####"});
    clock.set(123456);
    game.advance();
    EXPECT_EQ(game.col, 2);
    EXPECT_EQ(game.stepCount, 1);
    EXPECT_EQ(game.stepTicks[0], 123456u);
    EXPECT_EQ(game.stepRows[0], 1);
    EXPECT_EQ(game.stepCols[0], 2);
    EXPECT_TRUE(game.turnPending);
    EXPECT_EQ(plays(), std::vector<std::string>{"SonidoPasos once Sonidos/Pasos.wav"});
    EXPECT_EQ(log(), std::vector<std::string>{"Avanzaste un paso.\n"});
}

TEST_F(WorldTest, WallBumpUndoesTheStepAndRestoresTheSquare)
{
    start({"####",
           "#S.#",
           "####"});
    game.advance();
    game.currentCell.kind = CellKind::Wall;  // as if its content had been dealt with
    game.turnPending = false;
    game.threatAhead = true;
    sound.clear();
    game.advance();
    EXPECT_EQ(game.col, 2);
    EXPECT_EQ(game.stepCount, 1);
    EXPECT_EQ(game.wallBumps, 1);
    EXPECT_TRUE(game.turnPending);
    EXPECT_TRUE(game.threatAhead);
    EXPECT_EQ(game.currentCell.kind, CellKind::Corridor);
    EXPECT_EQ(plays(), std::vector<std::string>{"sonido once Sonidos/Choque.wav"});
    EXPECT_EQ(game.historyCount, 1);
}

TEST_F(WorldTest, AnOpenMapEdgeIsAWall)
{
    start({"S" + std::string(kGridSize - 1, '.')});
    for (int i = 0; i < kGridSize + 1; ++i)
        game.advance();
    EXPECT_EQ(game.col, kGridSize - 1);
    EXPECT_EQ(game.wallBumps, 2);
}

TEST_F(WorldTest, EveryContentIsAnnouncedWithItsSoundChannelModeSentenceAndFlags)
{
    struct Case {
        int32_t kind;
        const char* play;
        const char* sentence;
        bool door, threat;
    };
    const Case cases[] = {
        {3, "sonido once Sonidos/EncontrarPuertaCen.wav", "Hay una puerta al centro.\n", true, false},
        {4, "sonido once Sonidos/EncontrarPuertaIzq.wav", "Hay una puerta a la izquierda.\n", false, false},
        {5, "sonido once Sonidos/EncontrarPuertaDer.wav", "Hay una puerta a la derecha.\n", false, false},
        {7, "sonido once Sonidos/RecargaBalasIzq.wav", "Hay balas a tu izquierda.\n", false, false},
        {8, "sonido once Sonidos/RecargaBalasCen.wav", "Hay balas en el centro.\n", false, false},
        {9, "sonido once Sonidos/RecargaBalasDer.wav", "Hay balas a la derecha.\n", false, false},
        {10, "SonidoMonstruos loop Sonidos/MonstruoIzq.wav", "Hay un monstruo a la izquierda.\n", false, true},
        {11, "SonidoMonstruos loop Sonidos/MonstruoCen.wav", "Hay un monstruo al centro.\n", false, true},
        {12, "SonidoMonstruos loop Sonidos/MonstruoDer.wav", "Hay un monstruo a la derecha.\n", false, true},
        {13, "SonidoMonstruos loop Sonidos/MutanteIzq.wav", "Hay un mutante a la izquierda.\n", false, true},
        {14, "SonidoMonstruos loop Sonidos/MutanteCen.wav", "Hay un mutante al centro.\n", false, true},
        {15, "SonidoMonstruos loop Sonidos/MutanteDer.wav", "Hay un mutante a la derecha.\n", false, true},
        {16, "SonidoMonstruos loop Sonidos/SuperMonstruoIzq.wav", "Hay un super monstruo a la izquierda.\n", false, true},
        {17, "SonidoMonstruos loop Sonidos/SuperMonstruoCen.wav", "Hay un super monstruo al centro.\n", false, true},
        {18, "SonidoMonstruos loop Sonidos/SuperMonstruoDer.wav", "Hay un super monstruo a la derecha.\n", false, true},
    };
    for (const Case& c : cases) {
        start({"####",
               "#S.#",
               "####"});
        place(1, 2, c.kind);
        game.advance();
        EXPECT_EQ(plays(), (std::vector<std::string>{"SonidoPasos once Sonidos/Pasos.wav", c.play})) << c.kind;
        EXPECT_EQ(log(), (std::vector<std::string>{"Avanzaste un paso.\n", c.sentence})) << c.kind;
        EXPECT_EQ(game.doorAhead, c.door) << c.kind;
        EXPECT_EQ(game.threatAhead, c.threat) << c.kind;
        EXPECT_FALSE(game.gameOver);
    }
}

TEST_F(WorldTest, AShutCentreDoorOnlyRepeatsTheBump)
{
    start({"#####",
           "#SC.#",
           "#####"});
    game.advance();
    game.turnPending = false;
    sound.clear();
    for (int i = 0; i < 3; ++i)
        game.advance();
    EXPECT_EQ(game.col, 2);
    EXPECT_EQ(game.doorBumps, 3);
    EXPECT_FALSE(game.turnPending);
    EXPECT_EQ(plays(), std::vector<std::string>(3, "sonido once Sonidos/ErrarCen.wav"));
    EXPECT_EQ(game.historyCount, 2);
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
    EXPECT_TRUE(game.reachedEnd);
    EXPECT_TRUE(game.gameOver);
    EXPECT_EQ(game.stepCount, 1);
}

TEST_F(WorldTest, AFacingOutsideTheFourDirectionsStaysButStillCountsAStep)
{
    start({"####",
           "#S.#",
           "####"});
    game.facing = 9;
    game.advance();
    EXPECT_EQ(game.col, 1);
    EXPECT_EQ(game.stepCount, 1);
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
    game.currentCell.kind = CellKind::Wall;  // killed
    game.threatAhead = false;
    game.facing = Facing::West;
    game.advance();
    game.facing = Facing::East;
    game.advance();
    EXPECT_EQ(game.currentCell.kind, CellKind::MonsterLeft);
    EXPECT_EQ(game.currentCell.monsterHp, 3);
    EXPECT_TRUE(game.threatAhead);
}

TEST_F(WorldTest, APathLongerThanTheRecordKeepsItsFirstSteps)
{
    start({"#####",
           "#S..#",
           "#####"});
    for (int i = 0; i < kPathSize + 20; ++i) {
        game.facing = (i % 2) ? Facing::West : Facing::East;
        game.advance();
    }
    EXPECT_EQ(game.stepCount, kPathSize);
    EXPECT_EQ(game.stepCols[0], 2);
    EXPECT_EQ(game.stepCols[1], 1);
}
