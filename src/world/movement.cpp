#include "movement.h"

namespace {
// Indexed by Facing code; rows grow downwards.
constexpr int kRowStep[] = {0, -1, 1, 0, 0};
constexpr int kColStep[] = {0, 0, 0, 1, -1};
}  // namespace

bool squareAhead(int row, int col, int facing, int& aheadRow, int& aheadCol)
{
    if (!isFacing(facing))
        return false;
    aheadRow = row + kRowStep[facing];
    aheadCol = col + kColStep[facing];
    return aheadRow >= 0 && aheadRow < kGridSize && aheadCol >= 0 && aheadCol < kGridSize;
}

int turnedFacing(int facing, bool left)
{
    constexpr int kLeftOf[] = {0, Facing::West, Facing::East, Facing::North, Facing::South};
    constexpr int kRightOf[] = {0, Facing::East, Facing::West, Facing::South, Facing::North};
    return isFacing(facing) ? (left ? kLeftOf : kRightOf)[facing] : facing;
}

bool turnThroughDoor(Pose& pose, bool left)
{
    if (!pose.turnPending || !isFacing(pose.facing))
        return false;
    pose.facing = turnedFacing(pose.facing, left);
    pose.turnPending = false;
    return true;
}
