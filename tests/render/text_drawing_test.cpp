#include <GL/gl.h>

#include <array>
#include <cmath>
#include <cstring>

#include "font.h"
#include "gl_fixture.h"

namespace {
class TextDrawing : public GlFrameTest {
protected:
    // The glyph a byte draws in set 0.
    static Rgb glyphFor(char c) { return glyphColour(static_cast<unsigned char>(c) - 32); }
};

using Matrix = std::array<GLfloat, 16>;
Matrix currentMatrix(GLenum which)
{
    Matrix m{};
    glGetFloatv(which, m.data());
    return m;
}
}  // namespace

TEST_F(TextDrawing, GlyphsComeFromTheirSheetCells)
{
    glColor3f(1, 1, 1);
    drawText(textures(), 100, 100, " ", 0);     // glyph 0, top left cell
    drawText(textures(), 140, 100, "/", 0);     // glyph 15, top right
    drawText(textures(), 180, 100, "0", 0);     // glyph 16, second row
    drawText(textures(), 220, 100, "\xff", 0);  // glyph 223
    readFrame();

    const struct {
        int x;
        int glyph;
    } expected[] = {{100, 0}, {140, 15}, {180, 16}, {220, 223}};
    for (const auto& e : expected) {
        // The whole 16 by 16 square shows the cell, and nothing beyond it.
        EXPECT_TRUE(near(at(e.x, 100), glyphColour(e.glyph))) << e.glyph;
        EXPECT_TRUE(near(at(e.x + 15, 115), glyphColour(e.glyph))) << e.glyph;
        EXPECT_TRUE(near(at(e.x + 17, 108), kWhite)) << e.glyph;
        EXPECT_TRUE(near(at(e.x + 8, 117), kWhite)) << e.glyph;
    }
}

TEST_F(TextDrawing, PenMovesByTwelvePointEightAndSkipsControlBytes)
{
    const char* sentence = "Disparo al centro.\n";
    glColor3f(1, 1, 1);
    drawText(textures(), 10, 440, sentence, 0);
    drawText(textures(), 10, 300, "A\nB", 0);
    readFrame();

    for (int k = 0; k < 18; ++k) {
        const int left = static_cast<int>(std::ceil(10 + 12.8 * k));
        EXPECT_TRUE(near(at(left + 4, 448), glyphFor(sentence[k]))) << "glyph " << k;
    }
    // The line feed draws nothing after the full stop.
    EXPECT_TRUE(near(at(248, 448), kWhite));
    // Nor does it move the pen: B stands where the second glyph belongs.
    EXPECT_TRUE(near(at(30, 308), glyphFor('B')));
    EXPECT_TRUE(near(at(40, 308), kWhite));
}

TEST_F(TextDrawing, GlyphSetsBeyondTheSheetAreClamped)
{
    glColor3f(1, 1, 1);
    drawText(textures(), 300, 250, "A", 1);
    drawText(textures(), 300, 200, "A", 5);
    drawText(textures(), 300, 150, "A", -3);
    drawText(textures(), 300, 100, "\xa0\x1f", 1);
    drawText(textures(), 300, 50, "\x1f", 0);
    // Without a font texture there is no glyph at all, not even a box in the
    // current colour.
    glColor3f(1, 0, 0);
    drawText(Textures{}, 400, 50, "A", 0);
    readFrame();

    EXPECT_TRUE(near(at(308, 258), glyphColour(161)));
    EXPECT_TRUE(near(at(308, 208), glyphColour(161)));
    EXPECT_TRUE(near(at(308, 158), glyphColour(33)));
    // In set 1 byte 0xA0 names no glyph; byte 0x1F is glyph 127 at the pen.
    EXPECT_TRUE(near(at(308, 108), glyphColour(127)));
    EXPECT_TRUE(near(at(308, 58), kWhite));
    EXPECT_TRUE(near(at(408, 58), kWhite));
}

TEST_F(TextDrawing, LeavesMatricesAndStateForTheCaller)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(-1.0f, 0.0f, -5.0f);
    const Matrix modelview = currentMatrix(GL_MODELVIEW_MATRIX);
    const Matrix projection = currentMatrix(GL_PROJECTION_MATRIX);
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);

    drawText(textures(), 0, 0, "Hola", 0);

    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_EQ(currentMatrix(GL_MODELVIEW_MATRIX), modelview);
    EXPECT_EQ(currentMatrix(GL_PROJECTION_MATRIX), projection);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<unsigned>(bound), textures().font);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
