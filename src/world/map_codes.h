#pragma once
#include <cstdint>

// Codes written in map files; the level start turns them into CellKind.
namespace MapCode {
enum : int32_t {
    Wall = 0,
    Start = 1,
    Random = 2,
    Corridor = 3,
    DoorCentre = 4,
    DoorLeft = 5,
    DoorRight = 6,
    ExitOrTrap = 7,
    Exit = 8,
    Bullets = 9,
    Monster = 10,
    Mutant = 11,
    SuperMonster = 12,
    Highest = SuperMonster,
};
}

struct Cell;
class RandomSource;
// Converts one square by its map code, drawing from random as needed. With
// traps off, an exit-or-trap square is an exit (its draw is still made, so the
// squares after it come out as they would with traps on).
void convertMapCode(Cell& cell, RandomSource& random, bool traps = true);
