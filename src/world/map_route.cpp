#include "map_route.h"

#include <algorithm>
#include <functional>
#include <queue>
#include <utility>
#include <vector>

#include "creature_costs.h"
#include "map_codes.h"

namespace {
// Steps onto another square, then every other key press.
using Cost = std::pair<int, int>;

struct Came {
    Pose from{};
    Move move = Move::Advance;
    Cost cost{};
    uint32_t seenIn = 0;  // the search that reached the state; the rest of it holds only then
    bool settled = false;
};

constexpr size_t kStates = kGridSize * kGridSize * 5 * 2;

bool open(const CodeGrid& grid, int r, int c) { return grid[r][c] != MapCode::Wall; }

struct Codes {
    int32_t leftDoor, rightDoor, end1, end2;
};
Codes codesOf(CodeSet set)
{
    if (set == CodeSet::Map)
        return {MapCode::DoorLeft, MapCode::DoorRight, MapCode::ExitOrTrap, MapCode::Exit};
    return {CellKind::DoorLeft, CellKind::DoorRight, CellKind::Exit, CellKind::Trap};
}

int indexOf(const Pose& s) { return ((s.row * kGridSize + s.col) * 5 + s.facing) * 2 + (s.turnPending ? 1 : 0); }

Pose poseOf(int index)
{
    const bool pending = index % 2 != 0;
    index /= 2;
    const int facing = index % 5;
    index /= 5;
    return Pose{index / kGridSize, index % kGridSize, facing, pending};
}

bool samePose(const Pose& a, const Pose& b)
{
    return a.row == b.row && a.col == b.col && a.facing == b.facing && a.turnPending == b.turnPending;
}

// Cheapest first over position, facing and whether a door may turn him,
// where a step onto the next square outweighs any number of other presses
// (turns, and the bumps that let a door turn him again): the teacher counts
// the steps, and of routes as long the one with fewer turns is the one a
// child is shown. Each of the 9000 states is settled once, so the search
// stays a few milliseconds on any map.
class RouteSearch {
public:
    RouteSearch(const CodeGrid& grid, CodeSet set, Reach* reach) : grid_(grid), codes_(codesOf(set)), reach_(reach)
    {
        // One search's table (about 300 kB, too big for the stack), kept
        // from one search to the next: a fresh one each time costs more in
        // page faults than the search itself where maps and reports are read
        // by the thousand (the teacher's tools, the fuzzers). Each search has
        // its number, and a state counts as reached only by the search of
        // its number, so the table is cleared only when the numbers wrap.
        thread_local std::vector<Came> table(kStates);
        thread_local uint32_t searches = 0;
        if (++searches == 0) {
            table.assign(kStates, Came{});
            searches = 1;
        }
        came_ = &table;
        search_ = searches;
    }
    std::optional<Route> run(const Pose& first);

private:
    using Entry = std::pair<Cost, int>;  // cost, state index
    void offer(const Pose& s, const Pose& from, Move move, Cost cost);
    void expand(const Pose& s, Cost cost);
    Route routeTo(const Pose& first, const Pose& end) const;

    const CodeGrid& grid_;
    const Codes codes_;
    Reach* reach_;
    std::vector<Came>* came_;
    uint32_t search_;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue_;
};

void RouteSearch::offer(const Pose& s, const Pose& from, Move move, Cost cost)
{
    Came& c = (*came_)[indexOf(s)];
    if (c.seenIn == search_ && (c.settled || !(cost < c.cost)))
        return;
    c = {from, move, cost, search_, false};
    queue_.push({cost, indexOf(s)});
}

// The moves from a settled state, in the order the game's keys offer them:
// the step (or bump), then a left door's turn, then a right door's.
void RouteSearch::expand(const Pose& s, Cost cost)
{
    Pose ahead = s;
    if (takeStep(ahead, [&](int r, int c) { return open(grid_, r, c); }) == StepResult::Moved)
        offer(ahead, s, Move::Advance, {cost.first + 1, cost.second});
    else  // a bump: no step, but a door may turn him again
        offer(ahead, s, Move::Advance, {cost.first, cost.second + 1});
    const int32_t here = grid_[s.row][s.col];
    const bool left = here == codes_.leftDoor;
    Pose turned = s;
    if ((left || here == codes_.rightDoor) && turnThroughDoor(turned, left))
        offer(turned, s, left ? Move::TurnLeft : Move::TurnRight, {cost.first, cost.second + 1});
}

Route RouteSearch::routeTo(const Pose& first, const Pose& end) const
{
    Route route;
    for (Pose at = end; !samePose(at, first);) {
        const Came& c = (*came_)[indexOf(at)];
        route.steps.push_back({c.from.row, c.from.col, c.from.facing, c.move});
        at = c.from;
    }
    std::reverse(route.steps.begin(), route.steps.end());
    route.advances = (*came_)[indexOf(end)].cost.first;
    return route;
}

std::optional<Route> RouteSearch::run(const Pose& first)
{
    std::optional<Route> found;
    offer(first, first, Move::Advance, {0, 0});
    while (!queue_.empty()) {
        const auto [cost, index] = queue_.top();
        queue_.pop();
        Came& settled = (*came_)[index];
        if (settled.settled || settled.cost != cost)
            continue;
        settled.settled = true;
        const Pose s = poseOf(index);
        if (reach_)
            reach_->at[s.row][s.col][s.facing][s.turnPending] = true;
        const int32_t here = grid_[s.row][s.col];
        if (here != codes_.end1 && here != codes_.end2) {
            expand(s, cost);
            continue;
        }
        // The level ends there. The first end settled is the nearest; with
        // reach the search goes on to mark every other state.
        if (!found)
            found = routeTo(first, s);
        if (!reach_)
            return found;
    }
    return found;
}

// What a square on the route does to the player's bullets, in map codes:
// with certain, what it surely does; else the worst it can do (a random
// square may become a super monster).
int bulletGain(int32_t code, bool certain)
{
    switch (code) {
    case MapCode::Bullets: return kBulletsPerPack;
    case MapCode::Monster: return -shotsToKill(CreatureType::Monster);
    case MapCode::Mutant: return -shotsToKill(CreatureType::Mutant);
    case MapCode::SuperMonster: return -shotsToKill(CreatureType::SuperMonster);
    case MapCode::Random: return certain ? 0 : -shotsToKill(CreatureType::SuperMonster);
    default: return 0;
    }
}
}  // namespace

StartSquare findStart(const CodeGrid& grid)
{
    StartSquare start;
    for (int r = 0; r < kGridSize; ++r)
        for (int c = 0; c < kGridSize; ++c)
            if (grid[r][c] == MapCode::Start)  // the last one in row order, as at the level start
                start = {r, c, startFacing(r, c, [&](int nr, int nc) { return open(grid, nr, nc); })};
    return start;
}

std::optional<Route> findRoute(const CodeGrid& grid, CodeSet set, Reach* reach)
{
    const StartSquare start = findStart(grid);
    if (start.row < 0 || start.facing == 0)
        return std::nullopt;
    return RouteSearch(grid, set, reach).run(Pose{start.row, start.col, start.facing, false});
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
        certain += bulletGain(code, true);
        worst += bulletGain(code, false);
        if (certain < 0 && balance.shortRow < 0) {
            balance.shortRow = step.row;
            balance.shortCol = step.col;
        }
        balance.certain = std::min(balance.certain, certain);
        balance.worst = std::min(balance.worst, worst);
    }
    return balance;
}
