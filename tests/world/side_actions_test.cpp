#include "world_fixture.h"

namespace {
const std::vector<std::string> kSquare = {
    "####",
    "#S.#",
    "####",
};
}

class SideActionTest : public WorldTest {
protected:
    // The player steps onto a square holding kind, with the given bullets.
    void standOn(int32_t kind, int32_t bullets)
    {
        start(kSquare);
        place(1, 2, kind);
        game.advance();
        game.player.bullets = bullets;
        sound.clear();
        game.log.historyCount = game.log.visibleCount = 0;
    }
};

TEST_F(SideActionTest, SideDoorsTurnThePlayerOncePerStep)
{
    struct Case {
        int32_t facing;
        bool left;
        int32_t after;
    };
    const Case cases[] = {
        {Facing::North, true, Facing::West}, {Facing::North, false, Facing::East},
        {Facing::South, true, Facing::East}, {Facing::South, false, Facing::West},
        {Facing::East, true, Facing::North}, {Facing::East, false, Facing::South},
        {Facing::West, true, Facing::South}, {Facing::West, false, Facing::North},
    };
    for (const Case& c : cases) {
        standOn(c.left ? CellKind::DoorLeft : CellKind::DoorRight, 0);
        game.player.facing = c.facing;
        c.left ? game.leftAction() : game.rightAction();
        EXPECT_EQ(game.player.facing, c.after);
        EXPECT_FALSE(game.player.turnPending);
        EXPECT_EQ(game.player.currentCell.kind, CellKind::Wall);
        EXPECT_EQ(sound.blocking(), std::vector<std::string>{c.left ? "Sonidos/AbriendoPuertaIzq.wav"
                                                                    : "Sonidos/AbriendoPuertaDer.wav"});
        EXPECT_EQ(log(), std::vector<std::string>{c.left ? "Has abierto la puerta a la izquierda.\n"
                                                         : "Has abierto la puerta a la derecha.\n"});
    }
    // Without a step since the last turn the door opens but does not turn.
    standOn(CellKind::DoorLeft, 0);
    game.player.turnPending = false;
    game.leftAction();
    EXPECT_EQ(game.player.facing, Facing::East);
    EXPECT_EQ(game.player.currentCell.kind, CellKind::Wall);
    // The second press on the same side is a shot at nothing.
    game.leftAction();
    EXPECT_EQ(game.stats.missedInCorridor, 1);
}

TEST_F(SideActionTest, TheCentreDoorOpensWithoutTurningAndLetsThePlayerOn)
{
    standOn(CellKind::DoorCentre, 0);
    ASSERT_TRUE(game.player.doorAhead);
    game.centreAction();
    EXPECT_EQ(sound.blocking(), std::vector<std::string>{"Sonidos/AbriendoPuertaCen.wav"});
    EXPECT_EQ(log(), std::vector<std::string>{"Has abierto la puerta al centro.\n"});
    EXPECT_FALSE(game.player.doorAhead);
    EXPECT_EQ(game.player.facing, Facing::East);
    EXPECT_EQ(game.cells[1][2].kind, CellKind::DoorCentre);  // the grid keeps its door
}

TEST_F(SideActionTest, BulletsAreTakenOnTheirOwnSideOnly)
{
    standOn(CellKind::BulletsLeft, 0);
    game.rightAction();  // wrong side: a shot at nothing, with no bullet to fire
    EXPECT_EQ(game.stats.bulletGrabErrors, 1);
    EXPECT_EQ(log(), std::vector<std::string>{"No tienes balas.\n"});
    game.leftAction();
    EXPECT_EQ(game.player.bullets, 6);
    EXPECT_EQ(game.player.currentCell.kind, CellKind::Wall);
    EXPECT_EQ(plays().back(), "sonido once Sonidos/BalasAlaIzquierda.wav");
    EXPECT_EQ(log().back(), "Tomaste las balas a la izquierda.\n");

    standOn(CellKind::BulletsCentre, 3);
    game.centreAction();
    EXPECT_EQ(game.player.bullets, 9);
    EXPECT_EQ(plays(), std::vector<std::string>{"sonido once Sonidos/BalasAlCentro.wav"});
    standOn(CellKind::BulletsRight, 1);
    game.leftAction();  // the wrong side spends a bullet and leaves them there
    EXPECT_EQ(game.player.bullets, 0);
    EXPECT_EQ(game.player.currentCell.kind, CellKind::BulletsRight);
    game.rightAction();
    EXPECT_EQ(log().back(), "Tomaste las balas a la derecha.\n");
}

TEST_F(SideActionTest, EachCreatureDiesAtItsLastHitPoint)
{
    struct Case {
        int32_t kind;
        int hits;
        const char* killed;
        const char* death;
    };
    const Case cases[] = {
        {CellKind::MonsterLeft, 3, "El monstruo fue eliminado.\n", "SonidoMonstruos once Sonidos/MuerteMutante.wav"},
        {CellKind::MutantLeft, 3, "El mutante fue eliminado.\n", "SonidoMuerteMonstruo once Sonidos/MuerteMutante.wav"},
        {CellKind::SuperLeft, 6, "El super monstruo fue eliminado.\n",
         "SonidoMuerteMonstruo once Sonidos/MuerteSuperMonstruo.wav"},
    };
    for (const Case& c : cases) {
        standOn(c.kind, 10);
        for (int i = 0; i < c.hits - 1; ++i)
            game.leftAction();
        EXPECT_TRUE(game.player.threatAhead);
        EXPECT_EQ(game.log.historyCount, c.hits - 1);
        game.leftAction();
        EXPECT_FALSE(game.player.threatAhead);
        EXPECT_EQ(game.player.bullets, 10 - c.hits);
        EXPECT_EQ(game.player.currentCell.kind, CellKind::Wall);
        EXPECT_EQ(game.cells[1][2].kind, c.kind);
        const auto lines = log();
        EXPECT_EQ(lines[lines.size() - 2], "Disparo a la izquierda.\n");
        EXPECT_EQ(lines.back(), c.killed);
        // Each hit heard as one, the last as a kill, then the death.
        std::vector<std::string> shots(c.hits - 1, "SonidoDisparos once Sonidos/ImpactoIzq.wav");
        shots.push_back("SonidoDisparos once Sonidos/AbatidoIzq.wav");
        shots.push_back(c.death);
        EXPECT_EQ(plays(), shots);
        EXPECT_EQ(sound.events[sound.events.size() - 3].op, RecordingSound::Op::Stop);  // the loop stops first
        EXPECT_EQ(game.stats.missedShots, 0);
    }
}

TEST_F(SideActionTest, ShotsAtNothingAreClassifiedByWhatTheSquareHeld)
{
    struct Case {
        int32_t kind;
        void (GameState::*action)();
        int32_t LevelStats::*counter;
        const char* sound;
    };
    const Case cases[] = {
        {CellKind::MonsterCentre, &GameState::leftAction, &LevelStats::missedAtMonsters, "Sonidos/BalazoIzq.wav"},
        {CellKind::MutantRight, &GameState::centreAction, &LevelStats::missedAtMutants, "Sonidos/BalazoCen.wav"},
        {CellKind::SuperLeft, &GameState::rightAction, &LevelStats::missedAtSuperMonsters, "Sonidos/BalazoDer.wav"},
        {CellKind::BulletsLeft, &GameState::rightAction, &LevelStats::bulletGrabErrors, "Sonidos/BalazoDer.wav"},
        {CellKind::DoorLeft, &GameState::centreAction, &LevelStats::missedInCorridor, "Sonidos/BalazoCen.wav"},
        {CellKind::Corridor, &GameState::leftAction, &LevelStats::missedInCorridor, "Sonidos/BalazoIzq.wav"},
    };
    for (const Case& c : cases) {
        standOn(c.kind, 5);
        (game.*c.action)();
        EXPECT_EQ(game.stats.missedShots, 1) << c.kind;
        EXPECT_EQ(game.stats.*c.counter, 1) << c.kind;
        EXPECT_EQ(game.player.bullets, 4) << c.kind;
        EXPECT_EQ(plays(), std::vector<std::string>{std::string("SonidoDisparos once ") + c.sound}) << c.kind;
        EXPECT_EQ(game.player.currentCell.kind, c.kind);
        EXPECT_EQ(game.player.currentCell.monsterHp, 3);
    }
}

TEST_F(SideActionTest, RunningOutOfBulletsLosesOnlyWithACreaturePresent)
{
    // An empty corridor: the level goes on.
    standOn(CellKind::Corridor, 0);
    game.centreAction();
    EXPECT_EQ(plays(), std::vector<std::string>{"SonidoDisparos once Sonidos/NoBalasCen.wav"});
    EXPECT_EQ(log(), std::vector<std::string>{"No tienes balas.\n"});
    EXPECT_FALSE(game.gameOver);
    EXPECT_EQ(game.stats.missedInCorridor, 1);

    // A creature on the side fired at, and one on another side: both lose,
    // and only the ending speaks (its own click comes before its words).
    for (auto action : {&GameState::rightAction, &GameState::leftAction}) {
        standOn(CellKind::SuperRight, 0);
        (game.*action)();
        EXPECT_EQ(plays(), (std::vector<std::string>{"block Sonidos/PerderPorBalas.wav",
                                                     "block Sonidos/ATT_VolverAJugar.wav"}));
        EXPECT_EQ(log(), (std::vector<std::string>{"Perdiste, se te acabaron las balas.\n",
                                                   "Presiona enter para volver a jugar.\n"}));
        EXPECT_TRUE(game.gameOver);
        EXPECT_EQ(game.player.currentCell.superHp, 6);
    }
}
