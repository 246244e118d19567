#include <GL/gl.h>

#include <cmath>
#include <memory>

#include "frame.h"
#include "game_state.h"
#include "gl_fixture.h"

namespace {
class FrameDrawing : public GlFrameTest {
protected:
    void SetUp() override
    {
        GlFrameTest::SetUp();
        game = std::make_unique<GameState>();
        for (auto& line : game->cells)
            for (Cell& cell : line)
                cell.kind = CellKind::Corridor;
    }

    static Rgb glyphFor(char c) { return glyphColour(static_cast<unsigned char>(c) - 32); }

    // Where the centre of a map square lands with the 45-degree perspective
    // on an 800 by 480 view: the eye-space centre is (0.5 + 0.1 col,
    // 1.2 - 0.1 row, -5).
    static int tileX(int col)
    {
        const double f = 1.0 / std::tan(22.5 * M_PI / 180.0);
        return static_cast<int>(400 + 400 * f / (800.0 / 480.0) * (0.5 + 0.1 * col) / 5);
    }
    static int tileYFromTop(int row)
    {
        const double f = 1.0 / std::tan(22.5 * M_PI / 180.0);
        return static_cast<int>(240 - 240 * f * (1.2 - 0.1 * row) / 5);
    }
    Rgb tile(int row, int col) const { return atFromTop(tileX(col), tileYFromTop(row)); }

    // Pixels that are not the white background outside the given box
    // (x from the left, y from the bottom, ends excluded).
    int inkOutside(int left, int bottom, int right, int top) const
    {
        int count = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (!(x >= left && x < right && y >= bottom && y < top) && !near(at(x, y), kWhite))
                    ++count;
        return count;
    }

    std::unique_ptr<GameState> game;
    MapCache map;
};
}  // namespace

TEST_F(FrameDrawing, MapShowsEverySquareButWallsWithThePlayerInRed)
{
    game->options.showMap = true;
    game->cells[0][0].kind = CellKind::Wall;
    game->cells[10][15].kind = CellKind::Wall;
    game->cells[29][29].kind = CellKind::Exit;
    game->player.row = 3;
    game->player.col = 4;
    game->cells[3][4].kind = CellKind::Start;
    // Taking the square's content changes only the copy; the tile stays.
    game->cells[7][7].kind = CellKind::BulletsLeft;
    game->player.currentCell.kind = CellKind::Wall;
    drawScene(*game, textures(), map, false, "Ana");
    readFrame();

    EXPECT_TRUE(near(tile(0, 1), kTile));
    EXPECT_TRUE(near(tile(1, 0), kTile));
    EXPECT_TRUE(near(tile(29, 29), kTile));
    EXPECT_TRUE(near(tile(7, 7), kTile));
    EXPECT_TRUE(near(tile(0, 0), kWhite));
    EXPECT_TRUE(near(tile(10, 15), kWhite));
    EXPECT_TRUE(near(tile(3, 4), kMarker));
    EXPECT_TRUE(near(tile(3, 5), kTile));

    // The map covers x 452 to the right edge and 95 to 443 pixels below the top.
    EXPECT_TRUE(near(atFromTop(448, tileYFromTop(5)), kWhite));
    EXPECT_TRUE(near(atFromTop(456, tileYFromTop(5)), kTile));
    EXPECT_TRUE(near(atFromTop(799, tileYFromTop(5)), kTile));
    EXPECT_TRUE(near(atFromTop(tileX(5), 92), kWhite));
    EXPECT_TRUE(near(atFromTop(tileX(5), 98), kTile));
    EXPECT_TRUE(near(atFromTop(tileX(5), 440), kTile));
    EXPECT_TRUE(near(atFromTop(tileX(5), 446), kWhite));

    // A square walled or opened since the last frame shows so at the next.
    game->cells[10][15].kind = CellKind::Corridor;
    game->cells[20][20].kind = CellKind::Wall;
    drawScene(*game, textures(), map, false, "Ana");
    readFrame();
    EXPECT_TRUE(near(tile(10, 15), kTile));
    EXPECT_TRUE(near(tile(20, 20), kWhite));
    EXPECT_TRUE(near(tile(0, 0), kWhite));
}

TEST_F(FrameDrawing, MessageLinesRunDownFromTheTop)
{
    game->log.visible[0] = "Avanzaste un paso.\n";
    game->log.visible[1] = "Hay un monstruo a la izquierda.\n";
    game->log.visible[22] = "Disparo al centro.\n";
    game->player.bullets = 5;
    drawScene(*game, textures(), map, false, "Ana");
    drawStatusLine(*game, textures(), "Ana");
    readFrame();

    EXPECT_TRUE(near(at(14, 448), glyphFor('A')));
    EXPECT_TRUE(near(at(14, 428), glyphFor('H')));
    EXPECT_TRUE(near(at(14, 8), glyphFor('D')));
    EXPECT_TRUE(near(at(14, 348), kWhite));
    // The map view is off: no tile, no marker.
    EXPECT_TRUE(near(tile(0, 0), kWhite));
    EXPECT_TRUE(near(tile(game->player.row, game->player.col), kWhite));
    // No status line before the first step.
    EXPECT_EQ(inkOutside(0, 0, 480, 480), 0);
}

TEST_F(FrameDrawing, NameEntryDrawsOnlyAReadablePrompt)
{
    game->options.showMap = true;
    game->options.hudShown = true;
    game->log.visible[0] = "Avanzaste un paso.\n";
    drawScene(*game, textures(), map, true, "Ana");
    readFrame();

    EXPECT_TRUE(near(at(56, 428), glyphFor('N')));
    EXPECT_TRUE(near(at(166, 428), glyphFor('A')));
    EXPECT_TRUE(near(at(180, 428), glyphFor('n')));
    EXPECT_EQ(inkOutside(50, 420, 202, 436), 0);
}

TEST_F(FrameDrawing, StatusLineReadsEvenWithoutMessageLines)
{
    // The marker leaves the colour black and no message line sets it again.
    game->options.showMap = true;
    game->options.hudShown = true;
    game->player.bullets = 999999;
    game->player.lives = 6;
    drawScene(*game, textures(), map, false, "Ana");
    drawStatusLine(*game, textures(), "Ana");
    readFrame();

    EXPECT_TRUE(near(at(486, 448), glyphFor('B')));
    EXPECT_TRUE(near(at(686, 448), glyphFor('V')));
    EXPECT_TRUE(near(at(486, 428), glyphFor('N')));
    EXPECT_TRUE(near(at(596, 428), glyphFor('A')));
    for (int k = 0; k < 6; ++k)
        EXPECT_TRUE(near(at(static_cast<int>(std::ceil(580 + 12.8 * k)) + 4, 448), glyphFor('9'))) << k;
    EXPECT_TRUE(near(at(666, 448), kWhite));
    EXPECT_TRUE(near(at(786, 448), glyphFor('6')));
}

TEST_F(FrameDrawing, TwentyThreeLinesReachTheBottomAndLongNumbersStayBounded)
{
    game->options.hudShown = true;
    game->player.bullets = INT32_MIN;
    game->player.lives = INT32_MAX;
    for (int i = 0; i < kVisibleLines; ++i)
        game->log.visible[i] = "Avanzaste un paso.\n";
    drawScene(*game, textures(), map, false, "Ana");
    drawStatusLine(*game, textures(), "Ana");
    readFrame();
    for (int i = 0; i < kVisibleLines; ++i)
        EXPECT_TRUE(near(at(14, 448 - 20 * i), glyphFor('A'))) << "line " << i;
    EXPECT_TRUE(near(at(584, 448), glyphFor('-')));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
