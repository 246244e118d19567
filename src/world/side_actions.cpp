#include "announcements.h"
#include "catalogue.h"
#include "game_state.h"

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

// A quarter turn through a side door: left turns anticlockwise on the map.
int32_t turned(int32_t facing, bool left)
{
    switch (facing) {
    case Facing::West: return left ? Facing::South : Facing::North;
    case Facing::East: return left ? Facing::North : Facing::South;
    case Facing::North: return left ? Facing::West : Facing::East;
    case Facing::South: return left ? Facing::East : Facing::West;
    default: return facing;
    }
}
}

// One side's action, dispatched on the content of the player's square.
static void sideAction(GameState& g, const SideRules& side, Side which)
{
    const int32_t kind = g.currentCell.kind;
    if (kind == side.door) {
        if (which == Side::Centre) {
            g.SonidoBloqueando.playBlocking(cat::AbriendoPuertaCen.file);
            g.addMessage(cat::AbriendoPuertaCen.written);
            g.doorAhead = false;
            g.currentCell.kind = CellKind::Wall;
            g.threatAhead = false;
            return;
        }
        const bool left = which == Side::Left;
        if (g.turnPending && g.facing >= Facing::North && g.facing <= Facing::West) {
            g.facing = turned(g.facing, left);
            g.turnPending = false;
        }
        const catalogue::Line& opened = left ? cat::AbriendoPuertaIzq : cat::AbriendoPuertaDer;
        g.SonidoBloqueando.playBlocking(opened.file);
        g.addMessage(opened.written);
        g.threatAhead = false;
        g.currentCell.kind = CellKind::Wall;
    } else if (kind == side.bullets) {
        g.sonido.playFile(side.bulletsSound, 0, 0, kPlayOnce);
        g.addMessage(side.bulletsMessage);
        // Bullets have no upper bound in play; stop short of overflowing.
        g.bullets = g.bullets > INT32_MAX - 6 ? INT32_MAX : g.bullets + 6;
        g.currentCell.kind = CellKind::Wall;
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
    if (bullets <= 0) {
        loseForWantOfBullets();
        return;
    }
    int32_t* hp = type == CreatureType::Monster  ? &currentCell.monsterHp
                  : type == CreatureType::Mutant ? &currentCell.mutantHp
                                                 : &currentCell.superHp;
    --*hp;
    SonidoDisparos.playFile(*hp == 0 ? shot.killSound : shot.hitSound, 0, 0, kPlayOnce);
    addMessage(shot.message);
    --bullets;
    if (*hp != 0)
        return;
    switch (type) {
    case CreatureType::Monster:
        addMessage(cat::MonstruoEliminado.written);
        threatAhead = false;
        SonidoMonstruos.stopChannel();
        SonidoMonstruos.playFile(cat::MuerteMutante.file, 0, 0, kPlayOnce);
        break;
    case CreatureType::Mutant:
        addMessage(cat::MutanteEliminado.written);
        threatAhead = false;
        SonidoMonstruos.stopChannel();
        SonidoMuerteMonstruo.playFile(cat::MuerteMutante.file, 0, 0, kPlayOnce);
        break;
    case CreatureType::SuperMonster:
        addMessage(cat::MuerteSuperMonstruo.written);
        threatAhead = false;
        SonidoMonstruos.stopChannel();
        SonidoMuerteMonstruo.playFile(cat::MuerteSuperMonstruo.file, 0, 0, kPlayOnce);
        break;
    }
    currentCell.kind = CellKind::Wall;
}

void GameState::shootAtNothing(const char* shotSound, const char* shotMessage)
{
    ++missedShots;
    const int32_t kind = currentCell.kind;
    if (isMutant(kind))
        ++missedAtMutants;
    else if (isMonster(kind))
        ++missedAtMonsters;
    else if (isSuperMonster(kind))
        ++missedAtSuperMonsters;
    else if (isBullets(kind))
        ++bulletGrabErrors;
    else
        ++missedInCorridor;

    if (bullets > 0) {
        SonidoDisparos.playFile(shotSound, 0, 0, kPlayOnce);
        addMessage(shotMessage);
        --bullets;
        return;
    }
    // Facing a creature the empty gun ends the level, and the ending says
    // so itself: "No tienes balas" would only delay it.
    if (isCreature(kind)) {
        loseForWantOfBullets();
        return;
    }
    SonidoDisparos.playFile(cat::NoBalasCen.file, 0, 0, kPlayOnce);
    addMessage(cat::NoBalasCen.written);
}
