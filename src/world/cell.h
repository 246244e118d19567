#pragma once
#include <cstdint>

// Runtime content of a square. Map files use a different set of codes
// (MapCode, level.h); the level start converts them into these.
namespace CellKind {
enum : int32_t {
    Wall = 0,  // also a square whose content has been dealt with
    Start = 1,
    Corridor = 2,
    DoorCentre = 3,
    DoorLeft = 4,
    DoorRight = 5,
    Exit = 6,
    BulletsLeft = 7,
    BulletsCentre = 8,
    BulletsRight = 9,
    MonsterLeft = 10,
    MonsterCentre = 11,
    MonsterRight = 12,
    MutantLeft = 13,
    MutantCentre = 14,
    MutantRight = 15,
    SuperLeft = 16,
    SuperCentre = 17,
    SuperRight = 18,
    Trap = 19,
};
}

// Facing codes; rows grow downwards.
namespace Facing {
enum : int32_t { North = 1, South = 2, East = 3, West = 4 };
}

// Tells shootCreature which hit points to lower.
enum class CreatureType : int32_t { Monster = 1, Mutant = 2, SuperMonster = 3 };

struct Cell {
    int32_t kind = 0;
    int32_t monsterHp = 0;
    int32_t mutantHp = 0;
    int32_t superHp = 0;
};

constexpr int kGridSize = 30;
using Grid = Cell[kGridSize][kGridSize];
