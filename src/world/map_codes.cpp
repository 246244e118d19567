#include "map_codes.h"

#include "cell.h"
#include "creature_costs.h"
#include "random_source.h"

namespace {
// A content of three sides (bullets, a creature) on the side drawn, at its
// full strength.
void placeOnSide(Cell& c, int32_t leftKind, RandomSource& random)
{
    c.kind = leftKind + random.below(3);
    armCreature(c);
}

void placeRandom(Cell& c, RandomSource& random)
{
    const int32_t r = random.below(30);
    if (r <= 2)
        placeOnSide(c, CellKind::SuperLeft, random);
    else if (r <= 6)
        placeOnSide(c, CellKind::MutantLeft, random);
    else if (r <= 9)
        placeOnSide(c, CellKind::MonsterLeft, random);
    else if (r <= 14)
        placeOnSide(c, CellKind::BulletsLeft, random);
    else
        c.kind = CellKind::Corridor;
}

// One in five such squares is a trap; the draw is made with traps off too.
int32_t exitOrTrap(bool traps, RandomSource& random)
{
    return random.below(10) < 2 && traps ? CellKind::Trap : CellKind::Exit;
}
}  // namespace

void convertMapCode(Cell& c, RandomSource& random, bool traps)
{
    switch (c.kind) {
    case MapCode::Wall: c.kind = CellKind::Wall; break;
    case MapCode::Start: c.kind = CellKind::Start; break;
    case MapCode::Random: placeRandom(c, random); break;
    case MapCode::Corridor: c.kind = CellKind::Corridor; break;
    case MapCode::DoorCentre: c.kind = CellKind::DoorCentre; break;
    case MapCode::DoorLeft: c.kind = CellKind::DoorLeft; break;
    case MapCode::DoorRight: c.kind = CellKind::DoorRight; break;
    case MapCode::ExitOrTrap: c.kind = exitOrTrap(traps, random); break;
    case MapCode::Exit: c.kind = CellKind::Exit; break;
    case MapCode::Bullets: placeOnSide(c, CellKind::BulletsLeft, random); break;
    case MapCode::Monster: placeOnSide(c, CellKind::MonsterLeft, random); break;
    case MapCode::Mutant: placeOnSide(c, CellKind::MutantLeft, random); break;
    case MapCode::SuperMonster: placeOnSide(c, CellKind::SuperLeft, random); break;
    default: break;  // not a map code; loadMap refuses such maps
    }
}
