#pragma once
#include <initializer_list>

#include "cell.h"

// How the player moves, for the game and for the route search alike. He
// walks the way he faces; a step into a wall, or off the edge of the grid, is
// a bump that leaves him where he is. He turns only through a side door of
// the square he stands on, once per arrival there; a bump lets a door turn
// him again. What a square holds besides walls (doors ahead, creatures) is
// the game's business, not the movement's.

// Where the player stands, which way he faces (a Facing code), and whether a
// side door may still turn him.
struct Pose {
    int row = 0;
    int col = 0;
    int facing = 0;
    bool turnPending = false;
};

inline bool isFacing(int facing) { return facing >= Facing::North && facing <= Facing::West; }

// The square ahead of (row, col) for a facing; false for an unknown facing
// or off the grid.
bool squareAhead(int row, int col, int facing, int& aheadRow, int& aheadCol);
// A quarter turn: left turns anticlockwise on the map. An unknown facing
// stays as it is.
int turnedFacing(int facing, bool left);

// Nowhere: the facing is none of the four, so the step goes nowhere; the
// game still counts it as a step taken in place.
enum class StepResult { Moved, Bumped, Nowhere };

// A press of the step key. open(r, c) says whether the square (r, c), always
// on the grid, can be walked onto. Whatever comes of it, a side door may turn
// him afterwards.
template <class Open>
StepResult takeStep(Pose& pose, Open open)
{
    pose.turnPending = true;
    if (!isFacing(pose.facing))
        return StepResult::Nowhere;
    int r = 0, c = 0;
    if (!squareAhead(pose.row, pose.col, pose.facing, r, c) || !open(r, c))
        return StepResult::Bumped;
    pose.row = r;
    pose.col = c;
    return StepResult::Moved;
}

// A side door's turn: true, with the quarter turn made and no turn left
// pending, when a turn was pending; false, changing nothing, otherwise.
bool turnThroughDoor(Pose& pose, bool left);

// The way a level start faces the player on (row, col): towards an open
// neighbour, east before west before south before north; 0 when none is
// open (the game then keeps the facing he had).
template <class Open>
int startFacing(int row, int col, Open open)
{
    for (int facing : {Facing::East, Facing::West, Facing::South, Facing::North}) {
        int r = 0, c = 0;
        if (squareAhead(row, col, facing, r, c) && open(r, c))
            return facing;
    }
    return 0;
}
