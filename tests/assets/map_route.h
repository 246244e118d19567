#pragma once
#include <optional>
#include <vector>

#include "map_file.h"

// How a player gets through a map with nothing but the game's own moves: he
// walks the way he faces (Space), and turns only by opening a side door on
// the square he stands on (H for a left door, K for a right door), once per
// arrival on that square. Bumping into a wall leaves him where he is but lets
// a door turn him again. Centre doors, bullets and creatures are dealt with
// on the square and do not change the way.
enum class Move { Advance, TurnLeft, TurnRight };

struct RouteStep {
    int row = 0;
    int col = 0;
    int facing = 0;  // 1 north, 2 south, 3 east, 4 west
    Move move = Move::Advance;
};

struct Route {
    std::vector<RouteStep> steps;  // the last Advance steps onto an exit
    int advances = 0;
};

// The facing the level start gives the player on the start square.
int startFacing(const MapCodes& codes, int row, int col);

// A shortest route from the (last) start square to an exit square (code 7 or 8).
std::optional<Route> findRoute(const MapCodes& codes);

// The lowest number of bullets the player holds along the route, counting
// each creature at its full cost and each random square as the worst it can
// become (a super monster); negative means he may be left without.
int worstBulletBalance(const MapCodes& codes, const Route& route);
