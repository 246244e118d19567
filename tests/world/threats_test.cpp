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
        game.log.historyCount = game.log.visibleCount = 0;
    }
    void frame()
    {
        game.shiftMutant();
        game.shiftSuperMonster();
    }
    // Frames 16 ms apart, as the main loop runs them.
    void play(int ms)
    {
        for (int t = 0; t < ms; t += 16) {
            clock.advance(16);
            frame();
        }
    }
    // Plays until the creature moves; the milliseconds that took.
    int untilMoved(int limitMs = 20000)
    {
        const int32_t before = game.player.currentCell.kind;
        int ms = 0;
        while (game.player.currentCell.kind == before && !game.gameOver && ms < limitMs) {
            clock.advance(16);
            frame();
            ms += 16;
        }
        return ms;
    }
};

TEST_F(ThreatTest, AMutantMovesThreeSecondsOfPlayAfterItsSideWasHeard)
{
    meet(CellKind::MutantLeft);
    // The cycle starts at the centre, then right, left, centre.
    for (int32_t side : {CellKind::MutantCentre, CellKind::MutantRight, CellKind::MutantLeft, CellKind::MutantCentre}) {
        const int waited = untilMoved();
        EXPECT_GT(waited, 3000);
        EXPECT_LE(waited, 3000 + 2 * 16);
        EXPECT_EQ(game.player.currentCell.kind, side);
    }
    EXPECT_EQ(plays().back(), "SonidoMonstruos loop Sonidos/MutanteCen.wav");
    EXPECT_EQ(log().back(), "Hay un mutante al centro.\n");
    EXPECT_EQ(game.player.lives, 6);

    // A hold (a sentence played to its end, a dialog) takes no time from the
    // player: ten seconds in one pass count as one long frame.
    play(2000);
    clock.advance(10000);
    frame();
    EXPECT_EQ(game.player.currentCell.kind, CellKind::MutantCentre);
    EXPECT_LT(untilMoved(), 1000 + 16);
}

TEST_F(ThreatTest, TheTeachersIntervalSpacesTheMovesFromTheNextLevelStart)
{
    meet(CellKind::MutantLeft);
    game.settings.shiftSeconds = 8;
    EXPECT_LE(untilMoved(), 3000 + 2 * 16) << "the level in play keeps its interval";

    meet(CellKind::MutantLeft);
    for (int move = 0; move < 3; ++move) {
        const int waited = untilMoved();
        EXPECT_GT(waited, 8000);
        EXPECT_LE(waited, 8000 + 2 * 16);
    }
    EXPECT_EQ(game.levelSettingsLine, "Ajustes: voz normal, criaturas cada 8 segundos, trampas s\xED, balas infinitas "
                                      "no, mapa a la vista no.\n");
}

TEST_F(ThreatTest, ACreatureWaitsForItsSideToBeSaidAndForAPauseInItsSentence)
{
    meet(CellKind::MutantRight);
    sound.saidInFullAnswer = false;
    play(10000);
    EXPECT_EQ(game.player.currentCell.kind, CellKind::MutantRight) << "moved before its side was heard";
    sound.saidInFullAnswer = true;
    sound.speakingAnswer = true;  // its repeated sentence (or another held it) goes on
    play(5000);
    EXPECT_EQ(game.player.currentCell.kind, CellKind::MutantRight) << "cut its own sentence";
    sound.speakingAnswer = false;
    frame();
    EXPECT_EQ(game.player.currentCell.kind, CellKind::MutantCentre);

    // A sentence that never pauses does not keep the creature still for ever.
    sound.speakingAnswer = true;
    const int waited = untilMoved();
    EXPECT_GT(waited, 7000);
    EXPECT_LE(waited, 7000 + 2 * 16);
}

TEST_F(ThreatTest, ACheckFindingTheCreatureOnTargetMovesNothingButAdvancesTheCycle)
{
    meet(CellKind::MutantCentre);
    play(3100);
    EXPECT_EQ(game.player.currentCell.kind, CellKind::MutantCentre);
    EXPECT_TRUE(plays().empty());
    EXPECT_EQ(game.log.historyCount, 0);
    EXPECT_EQ(game.threatClock.threatCycle, 2);
}

TEST_F(ThreatTest, ASuperMonsterTakesALifeAtEveryMoveAndTheSixthLoses)
{
    meet(CellKind::SuperLeft);
    int moves = 0;
    while (!game.gameOver && moves < 10) {
        untilMoved();
        ++moves;
    }
    EXPECT_EQ(moves, 6);
    EXPECT_EQ(game.player.lives, 0);
    EXPECT_TRUE(game.gameOver);
    const auto lines = log();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[lines.size() - 3].substr(0, 21), "Hay un super monstruo");
    EXPECT_EQ(lines[lines.size() - 2], "No tienes vidas, perdiste.\n");
    EXPECT_EQ(lines.back(), "Presiona enter para volver a jugar.\n");
    EXPECT_EQ(sound.blocking(),
              (std::vector<std::string>{"Sonidos/PerdistePorMonstruoGigante.wav", "Sonidos/ATT_VolverAJugar.wav"}));
    // Every life taken before the last is a blow at once, then the lives
    // left, after the new side.
    std::vector<std::string> lifePlays;
    for (const std::string& play : plays())
        if (play.find("VidaPerdida") != std::string::npos || play.find("SuperMonstruo") != std::string::npos)
            lifePlays.push_back(play);
    ASSERT_GE(lifePlays.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(lifePlays.begin(), lifePlays.begin() + 3),
              (std::vector<std::string>{"SonidoMonstruos loop Sonidos/SuperMonstruoCen.wav",
                                        "sonido once Sonidos/VidaPerdida.wav",
                                        "SonidosExtras once Sonidos/VidaPerdida5.wav"}));
    EXPECT_EQ(std::count(lifePlays.begin(), lifePlays.end(), "SonidosExtras once Sonidos/VidaPerdida1.wav"),
              1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Perdiste una vida. Queda una vida.\n"), 1);

    // After the end nothing moves any more.
    const int32_t kind = game.player.currentCell.kind;
    play(10000);
    EXPECT_EQ(game.player.currentCell.kind, kind);
}

TEST_F(ThreatTest, TheWinPlaysItsShortSequenceInOrder)
{
    start({"####",
           "#SE#",
           "####"});
    game.player.bullets = 7;
    game.advance();
    // The alarm sounds under the first words; the closing sentence says
    // both ways on.
    EXPECT_EQ(sound.blocking(), (std::vector<std::string>{"Sonidos/Ganaste.wav", "Sonidos/VolverOSiguiente.wav"}));
    EXPECT_EQ(plays()[plays().size() - 4], "SonidosExtras once Sonidos/AlarmaFinal.wav");
    EXPECT_EQ(log(), (std::vector<std::string>{"Avanzaste un paso.\n", "Has Ganado.\n",
                                               "Presiona enter para volver a jugar.\n",
                                               "O presiona N para ir al siguiente nivel.\n"}));
    EXPECT_TRUE(game.levelWon());
    EXPECT_TRUE(game.stats.reachedEnd);
    EXPECT_TRUE(game.gameOver);
    EXPECT_EQ(game.stats.stepCount, 1);
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
    game.player.bullets = 99999;
    game.reportBullets("Sonidos/TeQuedan.wav");
    EXPECT_EQ(sound.blocking(),
              (std::vector<std::string>{"Sonidos/TeQuedan.wav", "Sonidos/15X_M.wav", "Sonidos/Balas.wav"}));
    EXPECT_EQ(game.log.historyCount, 0);
}
