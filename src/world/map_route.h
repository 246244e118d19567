#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "cell.h"
#include "movement.h"

using CodeGrid = int32_t[kGridSize][kGridSize];

// Which codes a grid holds: those of a map file, or the kinds of a level in
// play (a saved game, a statistics report), where random squares have been
// drawn and an exit may have become the trap.
enum class CodeSet { Map, Kinds };

// How a player gets through a grid with nothing but the game's own moves
// (movement.h): he walks the way he faces (Space), and turns only by opening
// a side door on the square he stands on (H for a left door, K for a right
// door). Centre doors, bullets and creatures are dealt with on the square and
// do not change the way.
enum class Move { Advance, TurnLeft, TurnRight };

struct RouteStep {
    int row = 0;
    int col = 0;
    int facing = 0;  // 1 north, 2 south, 3 east, 4 west
    Move move = Move::Advance;
};

struct Route {
    std::vector<RouteStep> steps;  // the last Advance steps onto an exit
    // Steps onto another square: what the game counts as steps. An Advance
    // into a wall (a bump) is a key press but no step.
    int advances = 0;
};

// Where the level start puts the player: the last start square in row order,
// facing as the level start faces him (0 when no neighbour is open).
struct StartSquare {
    int row = -1;
    int col = -1;
    int facing = 0;
};
StartSquare findStart(const CodeGrid& grid);

// Every way the player can stand, and whether a side door may still turn
// him there: what the route search reached.
struct Reach {
    bool at[kGridSize][kGridSize][5][2]{};  // [row][col][facing][turn pending]
};

// A shortest route from the start square to an exit: the fewest steps, and
// of routes as long the fewest other key presses (turns and bumps)
// (or the trap a kinds grid may hold where the exit was). With reach, every
// state the search visits is marked there, found or not.
std::optional<Route> findRoute(const CodeGrid& grid, CodeSet set = CodeSet::Map, Reach* reach = nullptr);

// The bullets a map's route asks for, in map codes: each creature at its full
// cost, each square of bullets at what it gives (creature_costs.h). The lowest balance along the route with the creatures
// certain to be there, and counting each random square as the worst it can
// become (a super monster); negative means the player may be left without.
struct BulletBalance {
    int certain = 0;
    int worst = 0;
    int shortRow = -1;  // the first square where the certain balance goes negative
    int shortCol = -1;
};
BulletBalance bulletBalance(const CodeGrid& codes, const Route& route);
