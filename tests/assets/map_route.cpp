#include "map_route.h"

#include <algorithm>
#include <array>
#include <map>
#include <queue>

namespace {
struct State {
    int row, col, facing;
    bool turnPending;
    auto operator<=>(const State&) const = default;
};

constexpr int kRowStep[] = {0, -1, 1, 0, 0};
constexpr int kColStep[] = {0, 0, 0, 1, -1};
constexpr int kLeftOf[] = {0, 4, 3, 1, 2};
constexpr int kRightOf[] = {0, 3, 4, 2, 1};

bool open(const MapCodes& codes, int r, int c)
{
    return r >= 0 && r < kMapSide && c >= 0 && c < kMapSide && codes[r][c] != 0;
}

bool isExit(int code) { return code == 7 || code == 8; }
}

int startFacing(const MapCodes& codes, int r, int c)
{
    int facing = 0;
    if (open(codes, r - 1, c)) facing = 1;
    if (open(codes, r + 1, c)) facing = 2;
    if (open(codes, r, c - 1)) facing = 4;
    if (open(codes, r, c + 1)) facing = 3;
    return facing;
}

std::optional<Route> findRoute(const MapCodes& codes)
{
    std::optional<State> start;
    for (int r = 0; r < kMapSide; ++r)
        for (int c = 0; c < kMapSide; ++c)
            if (codes[r][c] == 1)
                start = State{r, c, startFacing(codes, r, c), false};
    if (!start || start->facing == 0)
        return std::nullopt;

    // Breadth first over position, facing and whether a door may turn him.
    std::map<State, std::pair<State, Move>> cameFrom;
    std::queue<State> queue;
    queue.push(*start);
    cameFrom.emplace(*start, std::make_pair(*start, Move::Advance));
    while (!queue.empty()) {
        const State s = queue.front();
        queue.pop();
        if (isExit(codes[s.row][s.col])) {
            Route route;
            for (State at = s; !(at == *start);) {
                const auto& [from, move] = cameFrom.at(at);
                route.steps.push_back({from.row, from.col, from.facing, move});
                at = from;
            }
            std::reverse(route.steps.begin(), route.steps.end());
            route.advances = int(std::count_if(route.steps.begin(), route.steps.end(),
                                               [](const RouteStep& st) { return st.move == Move::Advance; }));
            return route;
        }
        std::array<std::pair<State, Move>, 2> next;
        int count = 0;
        const int r = s.row + kRowStep[s.facing], c = s.col + kColStep[s.facing];
        next[count++] = {open(codes, r, c) ? State{r, c, s.facing, true} : State{s.row, s.col, s.facing, true},
                         Move::Advance};
        const int here = codes[s.row][s.col];
        if (s.turnPending && here == 5)
            next[count++] = {State{s.row, s.col, kLeftOf[s.facing], false}, Move::TurnLeft};
        if (s.turnPending && here == 6)
            next[count++] = {State{s.row, s.col, kRightOf[s.facing], false}, Move::TurnRight};
        for (int i = 0; i < count; ++i) {
            if (cameFrom.emplace(next[i].first, std::make_pair(s, next[i].second)).second)
                queue.push(next[i].first);
        }
    }
    return std::nullopt;
}

int worstBulletBalance(const MapCodes& codes, const Route& route)
{
    int bullets = 0, lowest = 0;
    auto visit = [&](int code) {
        if (code == 9) bullets += 6;
        if (code == 10 || code == 11) bullets -= 3;
        if (code == 12 || code == 2) bullets -= 6;
        lowest = std::min(lowest, bullets);
    };
    int lastRow = -1, lastCol = -1;
    for (const RouteStep& step : route.steps) {
        if (step.row != lastRow || step.col != lastCol)
            visit(codes[step.row][step.col]);
        lastRow = step.row;
        lastCol = step.col;
    }
    return lowest;
}
