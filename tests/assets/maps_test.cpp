#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>

#include "fake_clock.h"
#include "game_state.h"
#include "shipped_map.h"
#include "map_route.h"
#include "recording_sound.h"

namespace {
const std::filesystem::path kGame = QUORVANE_GAME_DIR;

// The shipped maps by name, nivel1 first.
std::map<std::string, MapFile> shippedMaps()
{
    std::map<std::string, MapFile> maps;
    for (const auto& entry : std::filesystem::directory_iterator(kGame)) {
        if (entry.path().extension() != ".quorvane")
            continue;
        MapFile map;
        std::string error;
        EXPECT_TRUE(readShippedMap(entry.path(), map, error)) << entry.path() << ": " << error;
        maps.emplace(entry.path().filename().string(), map);
    }
    return maps;
}

int count(const MapCodes& codes, int code)
{
    int n = 0;
    for (const auto& row : codes)
        n += int(std::count(std::begin(row), std::end(row), code));
    return n;
}

// What a level asks of the player: its creatures, its surprises, its turns.
double difficulty(const MapCodes& codes, const Route& route)
{
    const double turns = double(route.steps.size() - size_t(route.advances));
    return count(codes, 10) + 2.0 * count(codes, 11) + 4.0 * count(codes, 12) + 2.0 * count(codes, 2) +
           3.0 * count(codes, 7) + 0.5 * count(codes, 4) + 0.5 * turns + route.advances / 20.0;
}

int sideOf(int kind) { return (kind - 1) % 3; }  // 0 left, 1 centre, 2 right for kinds 7..18

void act(GameState& game, int side)
{
    if (side == 0) game.leftAction();
    if (side == 1) game.centreAction();
    if (side == 2) game.rightAction();
}

// Plays the route on the real rules as a careful player would: on each square
// he takes the bullets, shoots the creature where he hears it (it may change
// side between shots) and opens a centre door before walking on. A frame
// passes between his key presses.
void playRoute(GameState& game, FakeClock& clock, const Route& route)
{
    for (const RouteStep& step : route.steps) {
        ASSERT_FALSE(game.gameOver) << "lost at row " << game.player.row << ", column " << game.player.col;
        ASSERT_EQ(game.player.row, step.row);
        ASSERT_EQ(game.player.col, step.col);
        ASSERT_EQ(game.player.facing, step.facing);
        for (int presses = 0; presses < 40 && !game.gameOver; ++presses) {
            const int kind = game.player.currentCell.kind;
            const bool creature = kind >= 10 && kind <= 18;
            const bool bullets = kind >= 7 && kind <= 9;
            const bool centreDoor = kind == 3 && step.move == Move::Advance;
            if (!creature && !bullets && !centreDoor)
                break;
            act(game, centreDoor ? 1 : sideOf(kind));
            clock.advance(400);
            game.shiftMutant();
            game.shiftSuperMonster();
        }
        ASSERT_FALSE(game.player.threatAhead);
        if (step.move == Move::Advance) game.advance();
        if (step.move == Move::TurnLeft) game.leftAction();
        if (step.move == Move::TurnRight) game.rightAction();
        clock.advance(400);
    }
}
}

TEST(ShippedMaps, FollowTheMapRules)
{
    const auto maps = shippedMaps();
    ASSERT_GE(maps.size(), 6u);
    ASSERT_TRUE(maps.count("nivel1.quorvane"));
    std::set<int> used;
    for (const auto& [name, map] : maps) {
        SCOPED_TRACE(name);
        EXPECT_EQ(map.title.rfind("Nivel ", 0), 0u) << map.title;
        for (int i = 0; i < kMapSide; ++i) {
            EXPECT_EQ(map.codes[0][i], 0);
            EXPECT_EQ(map.codes[kMapSide - 1][i], 0);
            EXPECT_EQ(map.codes[i][0], 0);
            EXPECT_EQ(map.codes[i][kMapSide - 1], 0);
        }
        EXPECT_EQ(count(map.codes, 1), 1);
        EXPECT_GE(count(map.codes, 7) + count(map.codes, 8), 1);
        for (int code = 0; code <= 12; ++code)
            if (count(map.codes, code))
                used.insert(code);
    }
    EXPECT_EQ(used.size(), 13u);
}

TEST(ShippedMaps, EachCanBeWalkedToItsExitWithEnoughBullets)
{
    for (const auto& [name, map] : shippedMaps()) {
        SCOPED_TRACE(name);
        const auto route = findRoute(map.codes);
        ASSERT_TRUE(route.has_value()) << "no way from the start to an exit";
        EXPECT_GE(bulletBalance(map.codes, *route).worst, 0);
        // The path record of a level holds 500 steps.
        EXPECT_LT(route->advances, 500);
    }
}

TEST(ShippedMaps, FirstLevelTeachesEachThingAndLevelsGetHarder)
{
    const auto maps = shippedMaps();
    const MapCodes& first = maps.at("nivel1.quorvane").codes;
    for (int code : {4, 5, 6, 10, 8})
        EXPECT_EQ(count(first, code), 1) << "code " << code;
    // Bullets to spare, for the shots a beginner sends the wrong way.
    EXPECT_GE(count(first, 9), 2);
    for (int code : {2, 7, 11, 12})
        EXPECT_EQ(count(first, code), 0) << "code " << code;

    double previous = -1;
    for (int level = 1; maps.count("nivel" + std::to_string(level) + ".quorvane"); ++level) {
        const auto& map = maps.at("nivel" + std::to_string(level) + ".quorvane");
        const auto route = findRoute(map.codes);
        ASSERT_TRUE(route.has_value()) << map.title;
        const double d = difficulty(map.codes, *route);
        EXPECT_GT(d, previous) << map.title;
        previous = d;
    }
}

TEST(ShippedMaps, TheRulesThemselvesCarryThePlayerToTheExit)
{
    // Different seeds give different random sides and squares.
    for (const auto& [name, map] : shippedMaps()) {
        const auto route = findRoute(map.codes);
        ASSERT_TRUE(route.has_value()) << name;
        const bool mayBeTrap = count(map.codes, 7) > 0;
        for (uint32_t seed = 1000; seed < 1012; ++seed) {
            SCOPED_TRACE(name + " seed " + std::to_string(seed));
            FakeClock clock(1000);
            RecordingSound sound;
            auto game = std::make_unique<GameState>(clock);
            game->random.pin(seed);
            game->firstInit((kGame / name).string(), sound);
            ASSERT_EQ(game->lastLoadError, "");
            playRoute(*game, clock, *route);
            EXPECT_TRUE(game->stats.reachedEnd);
            EXPECT_TRUE(game->gameOver);
            const auto blocking = sound.blocking();
            const bool won = std::count(blocking.begin(), blocking.end(), "Sonidos/Ganaste.wav") == 1;
            const bool trapped = std::count(blocking.begin(), blocking.end(), "Sonidos/Trampa.wav") == 1;
            EXPECT_TRUE(won != trapped);
            EXPECT_TRUE(won || mayBeTrap);
            EXPECT_EQ(game->stats.wallBumps, 0);
            EXPECT_EQ(game->stats.doorBumps, 0);
        }
    }
}
