#pragma once
#include <cstdint>

#include "cell.h"
#include "creature_costs.h"

// The count infinite bullets show from the level start on; the report
// writes it, less the shots fired meanwhile, as the bullets left. A report
// holds that count as a plain number, so older ones showing 999999 still read.
constexpr int32_t kInfiniteBullets = 99999;

// The player: where he stands and faces, what stands before him, and what
// he carries.
struct Player {
    // A copy of the square he stands on, which the rules change as he deals
    // with what is on it (the grid keeps the level's squares).
    Cell currentCell{};
    int32_t facing = Facing::North;
    int32_t row = 0;
    int32_t col = 0;
    bool turnPending = false;
    // A creature, or a closed door, on his square: either bars his step.
    bool threatAhead = false;
    bool doorAhead = false;
    int32_t lives = kLivesAtStart;
    int32_t bullets = 0;
    // The real count, put aside while infinite bullets are engaged; armed:
    // switching them on engages them.
    int32_t savedBullets = 0;
    bool infiniteEngaged = false;
    bool infiniteArmed = true;

    // Stands on the square given of the grid, taking a copy of it.
    void standOn(const Grid& cells, int32_t r, int32_t c)
    {
        row = r;
        col = c;
        currentCell = cells[r][c];
    }
    // Infinite bullets show their count while on; the real count is put
    // aside and comes back when they are switched off.
    void followInfiniteBullets(bool on);
    // How a level starts: all lives, nothing before him, the bullets the
    // option gives.
    void startLevel(bool infinite);
};
