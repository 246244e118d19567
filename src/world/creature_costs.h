#pragma once
#include <cstdint>
#include <optional>

#include "cell.h"

// What the creatures cost the player and what bullets give him, for the
// game, the saved games and the map checks alike: a creature takes one
// bullet per shot until its hit points are gone, and it bars his step while
// it lives (see GameState::creatureBarsStep).

// The lives a level starts with; a super monster takes one each time it
// changes side.
constexpr int32_t kLivesAtStart = 6;

// Bullets taken from one square of bullets.
constexpr int32_t kBulletsPerPack = 6;

// The shots that kill a creature: its hit points at the level start.
constexpr int32_t shotsToKill(CreatureType type) { return type == CreatureType::SuperMonster ? 6 : 3; }

// The creature a square of the level holds, by its kind; none for any
// other kind.
inline std::optional<CreatureType> creatureOn(int32_t kind)
{
    if (kind >= CellKind::MonsterLeft && kind <= CellKind::MonsterRight)
        return CreatureType::Monster;
    if (kind >= CellKind::MutantLeft && kind <= CellKind::MutantRight)
        return CreatureType::Mutant;
    if (kind >= CellKind::SuperLeft && kind <= CellKind::SuperRight)
        return CreatureType::SuperMonster;
    return std::nullopt;
}

// The hit points a shot at a creature of that type lowers.
inline int32_t& hitPoints(Cell& cell, CreatureType type)
{
    return type == CreatureType::Monster ? cell.monsterHp
           : type == CreatureType::Mutant ? cell.mutantHp
                                          : cell.superHp;
}

// Gives the creature on a square, by its kind, its full strength; other
// squares are left as they are.
inline void armCreature(Cell& cell)
{
    if (const auto type = creatureOn(cell.kind))
        hitPoints(cell, *type) = shotsToKill(*type);
}
