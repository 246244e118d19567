#include "map_route.h"

#include <algorithm>
#include <functional>
#include <queue>
#include <utility>
#include <vector>

#include "map_codes.h"

namespace {
struct State {
    int row, col, facing;
    bool turnPending;
};

// Steps onto another square, then every other key press.
using Cost = std::pair<int, int>;

struct Came {
    State from{};
    Move move = Move::Advance;
    Cost cost{};
    bool seen = false;
    bool settled = false;
};

constexpr int kRowStep[] = {0, -1, 1, 0, 0};
constexpr int kColStep[] = {0, 0, 0, 1, -1};

bool open(const CodeGrid& grid, int r, int c)
{
    return r >= 0 && r < kGridSize && c >= 0 && c < kGridSize && grid[r][c] != 0;
}

struct Codes {
    int32_t leftDoor, rightDoor, end1, end2;
};
Codes codesOf(CodeSet set)
{
    if (set == CodeSet::Map)
        return {MapCode::DoorLeft, MapCode::DoorRight, MapCode::ExitOrTrap, MapCode::Exit};
    return {CellKind::DoorLeft, CellKind::DoorRight, CellKind::Exit, CellKind::Trap};
}
}

bool squareAhead(int row, int col, int facing, int& aheadRow, int& aheadCol)
{
    if (facing < 1 || facing > 4)
        return false;
    aheadRow = row + kRowStep[facing];
    aheadCol = col + kColStep[facing];
    return aheadRow >= 0 && aheadRow < kGridSize && aheadCol >= 0 && aheadCol < kGridSize;
}

int turnedFacing(int facing, bool left)
{
    constexpr int kLeftOf[] = {0, 4, 3, 1, 2};
    constexpr int kRightOf[] = {0, 3, 4, 2, 1};
    return facing >= 1 && facing <= 4 ? (left ? kLeftOf : kRightOf)[facing] : facing;
}

StartSquare findStart(const CodeGrid& grid)
{
    StartSquare start;
    for (int r = 0; r < kGridSize; ++r)
        for (int c = 0; c < kGridSize; ++c)
            if (grid[r][c] == MapCode::Start) {
                // Later tests override earlier ones, as at the level start.
                start = {r, c, 0};
                if (open(grid, r - 1, c)) start.facing = 1;
                if (open(grid, r + 1, c)) start.facing = 2;
                if (open(grid, r, c - 1)) start.facing = 4;
                if (open(grid, r, c + 1)) start.facing = 3;
            }
    return start;
}

std::optional<Route> findRoute(const CodeGrid& grid, CodeSet set, Reach* reach)
{
    const StartSquare start = findStart(grid);
    if (start.row < 0 || start.facing == 0)
        return std::nullopt;
    const Codes codes = codesOf(set);
    const State first{start.row, start.col, start.facing, false};

    // Cheapest first over position, facing and whether a door may turn him,
    // where a step onto the next square outweighs any number of other
    // presses (turns, and the bumps that let a door turn him again): the
    // teacher counts the steps, and of routes as long the one with fewer
    // turns is the one a child is shown. Each of the 9000 states is settled
    // once, so the search stays a few milliseconds on any map.
    // One search's table (about 300 kB, too big for the stack), kept from
    // one search to the next: a fresh one each time costs more in page
    // faults than the search itself where maps and reports are read by the
    // thousand (the teacher's tools, the fuzzers).
    thread_local std::vector<Came> came;
    came.assign(kGridSize * kGridSize * 5 * 2, Came{});
    auto indexOf = [](const State& s) {
        return ((s.row * kGridSize + s.col) * 5 + s.facing) * 2 + (s.turnPending ? 1 : 0);
    };
    auto stateOf = [](int index) {
        const bool pending = index % 2 != 0;
        index /= 2;
        const int facing = index % 5;
        index /= 5;
        return State{index / kGridSize, index % kGridSize, facing, pending};
    };
    using Entry = std::pair<Cost, int>;  // cost, state index
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
    auto offer = [&](const State& s, const State& from, Move move, Cost cost) {
        Came& c = came[indexOf(s)];
        if (c.settled || (c.seen && !(cost < c.cost)))
            return;
        c = {from, move, cost, true, false};
        queue.push({cost, indexOf(s)});
    };
    auto routeTo = [&](const State& end) {
        Route route;
        for (State at = end; !(at.row == first.row && at.col == first.col && at.facing == first.facing &&
                               at.turnPending == first.turnPending);) {
            const Came& c = came[indexOf(at)];
            route.steps.push_back({c.from.row, c.from.col, c.from.facing, c.move});
            at = c.from;
        }
        std::reverse(route.steps.begin(), route.steps.end());
        route.advances = came[indexOf(end)].cost.first;
        return route;
    };

    std::optional<Route> found;
    offer(first, first, Move::Advance, {0, 0});
    while (!queue.empty()) {
        const auto [cost, index] = queue.top();
        queue.pop();
        Came& settled = came[index];
        if (settled.settled || settled.cost != cost)
            continue;
        settled.settled = true;
        const State s = stateOf(index);
        if (reach)
            reach->at[s.row][s.col][s.facing][s.turnPending] = true;
        const int32_t here = grid[s.row][s.col];
        if (here == codes.end1 || here == codes.end2) {
            // The level ends there. The first end settled is the nearest;
            // with reach the search goes on to mark every other state.
            if (!found)
                found = routeTo(s);
            if (!reach)
                return found;
            continue;
        }
        int r = 0, c = 0;
        if (squareAhead(s.row, s.col, s.facing, r, c) && open(grid, r, c))
            offer({r, c, s.facing, true}, s, Move::Advance, {cost.first + 1, cost.second});
        else  // a bump: no step, but a door may turn him again
            offer({s.row, s.col, s.facing, true}, s, Move::Advance, {cost.first, cost.second + 1});
        if (s.turnPending && here == codes.leftDoor)
            offer({s.row, s.col, turnedFacing(s.facing, true), false}, s, Move::TurnLeft,
                  {cost.first, cost.second + 1});
        if (s.turnPending && here == codes.rightDoor)
            offer({s.row, s.col, turnedFacing(s.facing, false), false}, s, Move::TurnRight,
                  {cost.first, cost.second + 1});
    }
    return found;
}

BulletBalance bulletBalance(const CodeGrid& codes, const Route& route)
{
    BulletBalance balance;
    int certain = 0, worst = 0;
    int lastRow = -1, lastCol = -1;
    for (const RouteStep& step : route.steps) {
        if (step.row == lastRow && step.col == lastCol)
            continue;
        lastRow = step.row;
        lastCol = step.col;
        const int32_t code = codes[step.row][step.col];
        const int gain = code == MapCode::Bullets                                 ? 6
                         : code == MapCode::Monster || code == MapCode::Mutant    ? -3
                         : code == MapCode::SuperMonster                          ? -6
                                                                                  : 0;
        certain += gain;
        worst += code == MapCode::Random ? -6 : gain;
        if (certain < 0 && balance.shortRow < 0) {
            balance.shortRow = step.row;
            balance.shortCol = step.col;
        }
        balance.certain = std::min(balance.certain, certain);
        balance.worst = std::min(balance.worst, worst);
    }
    return balance;
}
