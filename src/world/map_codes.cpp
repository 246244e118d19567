#include "map_codes.h"

#include <cstdlib>

#include "cell.h"

namespace {
int32_t draw() { return std::rand(); }
int32_t side() { return draw() % 3; }

void placeSuper(Cell& c) { c.superHp = 6; c.kind = CellKind::SuperLeft + side(); }
void placeMutant(Cell& c) { c.mutantHp = 3; c.kind = CellKind::MutantLeft + side(); }
void placeMonster(Cell& c) { c.monsterHp = 3; c.kind = CellKind::MonsterLeft + side(); }
void placeBullets(Cell& c) { c.kind = CellKind::BulletsLeft + side(); }

void placeRandom(Cell& c)
{
    const int32_t r = draw() % 30;
    if (r <= 2)
        placeSuper(c);
    else if (r <= 6)
        placeMutant(c);
    else if (r <= 9)
        placeMonster(c);
    else if (r <= 14)
        placeBullets(c);
    else
        c.kind = CellKind::Corridor;
}
}

void convertMapCode(Cell& c, bool traps)
{
    switch (c.kind) {
    case MapCode::Wall: c.kind = CellKind::Wall; break;
    case MapCode::Start: c.kind = CellKind::Start; break;
    case MapCode::Random: placeRandom(c); break;
    case MapCode::Corridor: c.kind = CellKind::Corridor; break;
    case MapCode::DoorCentre: c.kind = CellKind::DoorCentre; break;
    case MapCode::DoorLeft: c.kind = CellKind::DoorLeft; break;
    case MapCode::DoorRight: c.kind = CellKind::DoorRight; break;
    case MapCode::ExitOrTrap: c.kind = (draw() % 10 < 2 && traps) ? CellKind::Trap : CellKind::Exit; break;
    case MapCode::Exit: c.kind = CellKind::Exit; break;
    case MapCode::Bullets: placeBullets(c); break;
    case MapCode::Monster: placeMonster(c); break;
    case MapCode::Mutant: placeMutant(c); break;
    case MapCode::SuperMonster: placeSuper(c); break;
    default: break;  // not a map code; loadMap refuses such maps
    }
}
