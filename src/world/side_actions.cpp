#include "announcements.h"
#include "catalogue.h"
#include "creature_costs.h"
#include "game_state.h"
#include "movement.h"

namespace {
enum class Side { Left, Centre, Right };

struct SideRules {
    int32_t door, bullets, monster, mutant, superMonster;
    // A shot sounds of what it met: nothing, or a creature (see AimedShot).
    const char* missSound;
    AimedShot aimed;
    const char* bulletsSound;
    const char* bulletsMessage;
};

namespace cat = catalogue;
const SideRules kLeft = {CellKind::DoorLeft, CellKind::BulletsLeft, CellKind::MonsterLeft,
                         CellKind::MutantLeft, CellKind::SuperLeft,
                         cat::BalazoIzq.file,
                         {cat::ImpactoIzq.file, cat::AbatidoIzq.file, cat::DisparoIzq.written},
                         cat::BalasAlaIzquierda.file, cat::BalasAlaIzquierda.written};
const SideRules kCentre = {CellKind::DoorCentre, CellKind::BulletsCentre, CellKind::MonsterCentre,
                           CellKind::MutantCentre, CellKind::SuperCentre,
                           cat::BalazoCen.file,
                           {cat::ImpactoCen.file, cat::AbatidoCen.file, cat::DisparoCen.written},
                           cat::BalasAlCentro.file, cat::BalasAlCentro.written};
const SideRules kRight = {CellKind::DoorRight, CellKind::BulletsRight, CellKind::MonsterRight,
                          CellKind::MutantRight, CellKind::SuperRight,
                          cat::BalazoDer.file,
                          {cat::ImpactoDer.file, cat::AbatidoDer.file, cat::DisparoDer.written},
                          cat::BalasAlaDerecha.file, cat::BalasAlaDerecha.written};
}

// One side's action, dispatched on the content of the player's square.
static void sideAction(GameState& g, const SideRules& side, Side which)
{
    const int32_t kind = g.player.currentCell.kind;
    if (kind == side.door) {
        if (which == Side::Centre) {
            g.channels.SonidoBloqueando.playBlocking(cat::AbriendoPuertaCen.file);
            g.addMessage(cat::AbriendoPuertaCen.written);
            g.player.doorAhead = false;
            g.player.currentCell.kind = CellKind::Wall;
            g.player.threatAhead = false;
            return;
        }
        const bool left = which == Side::Left;
        Pose pose{g.player.row, g.player.col, g.player.facing, g.player.turnPending};
        turnThroughDoor(pose, left);
        g.player.facing = pose.facing;
        g.player.turnPending = pose.turnPending;
        const catalogue::Line& opened = left ? cat::AbriendoPuertaIzq : cat::AbriendoPuertaDer;
        g.channels.SonidoBloqueando.playBlocking(opened.file);
        g.addMessage(opened.written);
        g.player.threatAhead = false;
        g.player.currentCell.kind = CellKind::Wall;
    } else if (kind == side.bullets) {
        g.channels.sonido.playFile(side.bulletsSound, 0, 0, kPlayOnce);
        g.addMessage(side.bulletsMessage);
        // Bullets have no upper bound in play; stop short of overflowing.
        int32_t& bullets = g.player.bullets;
        bullets = bullets > INT32_MAX - kBulletsPerPack ? INT32_MAX : bullets + kBulletsPerPack;
        g.player.currentCell.kind = CellKind::Wall;
    } else if (kind == side.monster) {
        g.shootCreature(side.aimed, CreatureType::Monster);
    } else if (kind == side.mutant) {
        g.shootCreature(side.aimed, CreatureType::Mutant);
    } else if (kind == side.superMonster) {
        g.shootCreature(side.aimed, CreatureType::SuperMonster);
    } else {
        g.shootAtNothing(side.missSound, side.aimed.message);
    }
}

void GameState::leftAction() { sideAction(*this, kLeft, Side::Left); }
void GameState::centreAction() { sideAction(*this, kCentre, Side::Centre); }
void GameState::rightAction() { sideAction(*this, kRight, Side::Right); }

void GameState::shootCreature(const AimedShot& shot, CreatureType type)
{
    if (player.bullets <= 0) {
        loseForWantOfBullets();
        return;
    }
    int32_t& hp = hitPoints(player.currentCell, type);
    --hp;
    channels.SonidoDisparos.playFile(hp == 0 ? shot.killSound : shot.hitSound, 0, 0, kPlayOnce);
    addMessage(shot.message);
    --player.bullets;
    if (hp != 0)
        return;
    switch (type) {
    case CreatureType::Monster:
        addMessage(cat::MonstruoEliminado.written);
        player.threatAhead = false;
        channels.SonidoMonstruos.stopChannel();
        channels.SonidoMonstruos.playFile(cat::MuerteMutante.file, 0, 0, kPlayOnce);
        break;
    case CreatureType::Mutant:
        addMessage(cat::MutanteEliminado.written);
        player.threatAhead = false;
        channels.SonidoMonstruos.stopChannel();
        channels.SonidoMuerteMonstruo.playFile(cat::MuerteMutante.file, 0, 0, kPlayOnce);
        break;
    case CreatureType::SuperMonster:
        addMessage(cat::MuerteSuperMonstruo.written);
        player.threatAhead = false;
        channels.SonidoMonstruos.stopChannel();
        channels.SonidoMuerteMonstruo.playFile(cat::MuerteSuperMonstruo.file, 0, 0, kPlayOnce);
        break;
    }
    player.currentCell.kind = CellKind::Wall;
}

void GameState::shootAtNothing(const char* shotSound, const char* shotMessage)
{
    ++stats.missedShots;
    const int32_t kind = player.currentCell.kind;
    if (isMutant(kind))
        ++stats.missedAtMutants;
    else if (isMonster(kind))
        ++stats.missedAtMonsters;
    else if (isSuperMonster(kind))
        ++stats.missedAtSuperMonsters;
    else if (isBullets(kind))
        ++stats.bulletGrabErrors;
    else
        ++stats.missedInCorridor;

    if (player.bullets > 0) {
        channels.SonidoDisparos.playFile(shotSound, 0, 0, kPlayOnce);
        addMessage(shotMessage);
        --player.bullets;
        return;
    }
    // Facing a creature the empty gun ends the level, and the ending says
    // so itself: "No tienes balas" would only delay it.
    if (isCreature(kind)) {
        loseForWantOfBullets();
        return;
    }
    channels.SonidoDisparos.playFile(cat::NoBalasCen.file, 0, 0, kPlayOnce);
    addMessage(cat::NoBalasCen.written);
}
