#include <cmath>

#include "world_fixture.h"

namespace {
// A map whose every square but the start is a given code.
std::vector<std::string> filled(char code)
{
    std::vector<std::string> rows(kGridSize, std::string(kGridSize, code));
    rows[1][1] = 'S';
    return rows;
}

// Observed count within 6 standard deviations of a binomial expectation: a
// failure means the proportions are wrong, not bad luck.
void expectProportion(long observed, long trials, double p, const char* what)
{
    const double mean = trials * p;
    const double sd = std::sqrt(trials * p * (1 - p));
    EXPECT_NEAR(static_cast<double>(observed), mean, 6 * sd) << what;
}
}

TEST_F(WorldTest, RandomSquaresComeOutInTheirProportionsOnEverySide)
{
    uint32_t seed = 1;
    long corridor = 0, bullets = 0, monsters = 0, mutants = 0, supers = 0, total = 0;
    long sides[3] = {0, 0, 0};
    writeFile("random_squares.quorvane", mapText(filled('?')));
    game.firstInit("random_squares.quorvane", sound);
    for (int level = 0; level < 40; ++level) {
        game.random.pin(seed++);
        ASSERT_TRUE(game.loadMap("random_squares.quorvane"));
        for (int r = 0; r < kGridSize; ++r) {
            for (int c = 0; c < kGridSize; ++c) {
                const Cell& cell = game.cells[r][c];
                if (r == 1 && c == 1)
                    continue;
                ++total;
                const int32_t k = cell.kind;
                if (k == CellKind::Corridor) { ++corridor; continue; }
                if (k >= 7 && k <= 9) { ++bullets; ++sides[(k - 7) % 3]; }
                else if (k >= 10 && k <= 12) { ++monsters; ++sides[(k - 10) % 3]; EXPECT_EQ(cell.monsterHp, 3); }
                else if (k >= 13 && k <= 15) { ++mutants; ++sides[(k - 13) % 3]; EXPECT_EQ(cell.mutantHp, 3); }
                else if (k >= 16 && k <= 18) { ++supers; ++sides[(k - 16) % 3]; EXPECT_EQ(cell.superHp, 6); }
                else ADD_FAILURE() << "unexpected kind " << k;
            }
        }
    }
    expectProportion(corridor, total, 15.0 / 30, "corridor");
    expectProportion(bullets, total, 5.0 / 30, "bullets");
    expectProportion(monsters, total, 3.0 / 30, "monsters");
    expectProportion(mutants, total, 4.0 / 30, "mutants");
    expectProportion(supers, total, 3.0 / 30, "super monsters");
    const long placed = total - corridor;
    for (long side : sides)
        expectProportion(side, placed, 1.0 / 3, "side");
}

TEST_F(WorldTest, ALevelStartDrawsFromTheCalendarSecondUnlessASeedIsPinned)
{
    writeFile("random_seed.quorvane", mapText(filled('?')));
    game.firstInit("random_seed.quorvane", sound);
    auto drawn = [&](std::time_t second) {
        clock.setCalendar(second);
        EXPECT_TRUE(game.loadMap("random_seed.quorvane"));
        std::vector<int32_t> kinds;
        for (const auto& row : game.cells)
            for (const Cell& cell : row)
                kinds.push_back(cell.kind);
        return kinds;
    };
    const auto first = drawn(5000);
    EXPECT_EQ(drawn(5000), first);  // two starts in one second come out alike
    EXPECT_NE(drawn(5001), first);
    game.random.pin(7);
    const auto pinned = drawn(5000);
    EXPECT_NE(pinned, first);
    EXPECT_EQ(drawn(5001), pinned);
}

TEST_F(WorldTest, AnExitThatMayBeATrapIsATrapAboutOnceInFive)
{
    writeFile("traps.quorvane", mapText(filled('T')));
    game.firstInit("traps.quorvane", sound);
    long traps = 0, total = 0;
    for (int level = 0; level < 20; ++level) {
        clock.setCalendar(1000 + level);
        ASSERT_TRUE(game.loadMap("traps.quorvane"));
        for (int r = 0; r < kGridSize; ++r)
            for (int c = 0; c < kGridSize; ++c)
                if (!(r == 1 && c == 1)) {
                    ++total;
                    traps += game.cells[r][c].kind == CellKind::Trap;
                    EXPECT_TRUE(game.cells[r][c].kind == CellKind::Trap || game.cells[r][c].kind == CellKind::Exit);
                }
    }
    expectProportion(traps, total, 0.2, "traps");

    // With traps off every such square is an exit, from the next level on.
    game.settings.traps = false;
    for (int level = 0; level < 5; ++level) {
        clock.setCalendar(1000 + level);
        ASSERT_TRUE(game.loadMap("traps.quorvane"));
        for (int r = 0; r < kGridSize; ++r)
            for (int c = 0; c < kGridSize; ++c) {
                if (!(r == 1 && c == 1)) {
                    ASSERT_EQ(game.cells[r][c].kind, CellKind::Exit) << r << "," << c;
                }
            }
    }
}
