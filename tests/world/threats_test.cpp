#include <algorithm>

#include "world_fixture.h"

class ThreatTest : public WorldTest {
protected:
    void meet(int32_t kind)
    {
        start({"####",
               "#S.#",
               "####"});
        place(1, 2, kind);
        game.advance();
        sound.clear();
        game.historyCount = game.visibleCount = 0;
    }
    void frame()
    {
        game.shiftMutant();
        game.shiftSuperMonster();
    }
};

TEST_F(ThreatTest, AMutantMovesEveryThreeSecondsFollowingTheCycle)
{
    meet(CellKind::MutantLeft);
    frame();  // no check has passed yet: the first target, the centre, comes at once
    EXPECT_EQ(game.currentCell.kind, CellKind::MutantCentre);
    EXPECT_EQ(plays(), std::vector<std::string>{"SonidoMonstruos loop Sonidos/MutanteCen.wav"});
    EXPECT_EQ(log(), std::vector<std::string>{"Hay un mutante al centro.\n"});

    clock.advance(3000);  // exactly 3000 ms moves nothing
    frame();
    EXPECT_EQ(game.currentCell.kind, CellKind::MutantCentre);
    clock.advance(1);
    frame();
    EXPECT_EQ(game.currentCell.kind, CellKind::MutantRight);
    clock.advance(3001);
    frame();
    EXPECT_EQ(game.currentCell.kind, CellKind::MutantLeft);
    clock.advance(3001);
    frame();
    EXPECT_EQ(game.currentCell.kind, CellKind::MutantCentre);
    EXPECT_EQ(game.threatCycle, 5);
    EXPECT_EQ(game.lives, 6);
}

TEST_F(ThreatTest, ACheckFindingTheCreatureOnTargetMovesNothingButAdvancesTheCycle)
{
    meet(CellKind::MutantCentre);
    frame();
    EXPECT_EQ(game.currentCell.kind, CellKind::MutantCentre);
    EXPECT_TRUE(plays().empty());
    EXPECT_EQ(game.historyCount, 0);
    EXPECT_EQ(game.threatCycle, 2);
}

TEST_F(ThreatTest, ASuperMonsterTakesALifeAtEveryMoveAndTheSixthLoses)
{
    meet(CellKind::SuperLeft);
    int moves = 0;
    for (int i = 0; i < 20 && !game.gameOver; ++i) {
        const int32_t before = game.currentCell.kind;
        frame();
        moves += game.currentCell.kind != before;
        clock.advance(3001);
    }
    EXPECT_EQ(moves, 6);
    EXPECT_EQ(game.lives, 0);
    EXPECT_TRUE(game.gameOver);
    const auto lines = log();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[lines.size() - 3].substr(0, 21), "Hay un super monstruo");
    EXPECT_EQ(lines[lines.size() - 2], "No tienes vidas, perdiste.\n");
    EXPECT_EQ(lines.back(), "Presiona enter para volver a jugar.\n");
    EXPECT_EQ(sound.blocking(),
              (std::vector<std::string>{"Sonidos/PerdistePorMonstruoGigante.wav", "Sonidos/ATT_VolverAJugar.wav"}));
    // Every life taken before the last is said at once, with those left.
    std::vector<std::string> livesSaid;
    for (const std::string& play : plays())
        if (play.find("VidaPerdida") != std::string::npos)
            livesSaid.push_back(play);
    EXPECT_EQ(livesSaid, (std::vector<std::string>{"SonidoMuerteMonstruo once Sonidos/VidaPerdida5.wav",
                                                   "SonidoMuerteMonstruo once Sonidos/VidaPerdida4.wav",
                                                   "SonidoMuerteMonstruo once Sonidos/VidaPerdida3.wav",
                                                   "SonidoMuerteMonstruo once Sonidos/VidaPerdida2.wav",
                                                   "SonidoMuerteMonstruo once Sonidos/VidaPerdida1.wav"}));
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Perdiste una vida. Te queda una vida.\n"), 1);

    // After the end nothing moves any more.
    const int32_t kind = game.currentCell.kind;
    clock.advance(10000);
    frame();
    EXPECT_EQ(game.currentCell.kind, kind);
}

TEST_F(ThreatTest, TheWinPlaysItsShortSequenceInOrder)
{
    start({"####",
           "#SE#",
           "####"});
    game.bullets = 7;
    game.advance();
    // The alarm sounds under the first words; the closing sentence says
    // both ways on.
    EXPECT_EQ(sound.blocking(), (std::vector<std::string>{"Sonidos/Ganaste.wav", "Sonidos/VolverOSiguiente.wav"}));
    EXPECT_EQ(plays()[plays().size() - 4], "SonidosExtras once Sonidos/AlarmaFinal.wav");
    EXPECT_EQ(log(), (std::vector<std::string>{"Avanzaste un paso.\n", "Has Ganado.\n",
                                               "Presiona enter para volver a jugar.\n",
                                               "O presiona N para ir al siguiente nivel.\n"}));
    EXPECT_TRUE(game.levelWon());
    EXPECT_TRUE(game.reachedEnd);
    EXPECT_TRUE(game.gameOver);
    EXPECT_EQ(game.stepCount, 1);
    // The background music stops first; the final music loops from where it was.
    std::vector<std::string> channelOps;
    for (const auto& e : sound.events)
        if (e.op == RecordingSound::Op::Stop || e.op == RecordingSound::Op::Loop)
            channelOps.push_back(channelName(game, e.voice) + (e.op == RecordingSound::Op::Stop ? " stop" : " loop"));
    EXPECT_EQ(channelOps, (std::vector<std::string>{"MusicaDeFondo stop", "MusicaFinal loop"}));
}

TEST_F(ThreatTest, BulletCountWithItsLeadIn)
{
    meet(CellKind::Corridor);
    game.bullets = 99999;
    game.reportBullets("Sonidos/TeQuedan.wav");
    EXPECT_EQ(sound.blocking(),
              (std::vector<std::string>{"Sonidos/TeQuedan.wav", "Sonidos/15X_M.wav", "Sonidos/Balas.wav"}));
    EXPECT_EQ(game.historyCount, 0);
}
