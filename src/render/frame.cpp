#include "frame.h"

#include <GL/gl.h>

#include <bitset>
#include <cstdio>

#include "font.h"
#include "game_state.h"

namespace {
constexpr float kMapLeft = 1.5f;
constexpr float kMapTop = 1.2f;
constexpr float kTileStep = 0.1f;
constexpr float kHalfTile = 0.05f;
// Room for any 32-bit value with its sign and terminator.
constexpr int kNumberBufferSize = 12;

constexpr char kNamePrompt[] = "Nombre : ";

void drawSquare(int32_t row, int32_t col, unsigned int texture)
{
    glTranslatef(kTileStep * static_cast<float>(col), -kTileStep * static_cast<float>(row), 0.0f);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-kHalfTile, kHalfTile, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(kHalfTile, kHalfTile, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(kHalfTile, -kHalfTile, 0.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(-kHalfTile, -kHalfTile, 0.0f);
    glEnd();
}

// Text is tinted through the texture; white shows the font sheet's own
// colours, which are chosen to read on the white background. A black tint
// would turn every glyph cell into a solid black box.
void useTextColour() { glColor3f(1.0f, 1.0f, 1.0f); }

// The open squares of the grid, row by row.
std::bitset<kGridSize * kGridSize> openSquares(const GameState& game)
{
    std::bitset<kGridSize * kGridSize> open;
    for (int32_t row = 0; row < kGridSize; ++row)
        for (int32_t col = 0; col < kGridSize; ++col)
            open[static_cast<size_t>(row * kGridSize + col)] = game.cells[row][col].kind > 0;
    return open;
}

// Sends every open square to the context as one draw (drawn one by one, the
// 900 squares of a full map took most of a frame), in map coordinates: the
// caller places the map. Nothing when no square is open.
void sendSquares(const std::bitset<kGridSize * kGridSize>& open)
{
    struct Corner {
        GLfloat s, t, x, y, z;  // the GL_T2F_V3F layout
    };
    static constexpr Corner kQuad[4] = {{0, 0, -kHalfTile, kHalfTile, 0},
                                        {1, 0, kHalfTile, kHalfTile, 0},
                                        {1, 1, kHalfTile, -kHalfTile, 0},
                                        {0, 1, -kHalfTile, -kHalfTile, 0}};
    // On the stack (72 kB): nothing is allocated for it.
    Corner corners[kGridSize * kGridSize * 4];
    GLsizei used = 0;
    for (int32_t row = 0; row < kGridSize; ++row)
        for (int32_t col = 0; col < kGridSize; ++col) {
            if (!open[static_cast<size_t>(row * kGridSize + col)])
                continue;
            const GLfloat dx = kTileStep * static_cast<float>(col);
            const GLfloat dy = -kTileStep * static_cast<float>(row);
            for (const Corner& c : kQuad)
                corners[used++] = {c.s, c.t, c.x + dx, c.y + dy, c.z};
        }
    if (used == 0)
        return;
    glInterleavedArrays(GL_T2F_V3F, 0, corners);
    glDrawArrays(GL_QUADS, 0, used);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}
}  // namespace

void drawPlayerMarker(int32_t row, int32_t col, unsigned int texture)
{
    glPushMatrix();
    glColor3f(1.0f, 0.0f, 0.0f);
    glTranslatef(kMapLeft, kMapTop, 0.0f);
    drawSquare(row, col, texture);
    glColor3f(0.0f, 0.0f, 0.0f);
    glPopMatrix();
}

void MapCache::draw(const GameState& game, unsigned int texture)
{
    // Sent at every frame, the 72 kB of squares made the context take a new
    // megabyte upload buffer every dozen frames, and with that churn the
    // heap kept growing by a megabyte now and then; a display list keeps
    // them in the context instead. A list never filled draws nothing, as
    // does a map with no open square.
    const auto open = openSquares(game);
    if (list_ == 0)
        list_ = glGenLists(1);
    glPushMatrix();
    glTranslatef(kMapLeft, kMapTop, 0.0f);
    glColor3f(1.0f, 1.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, texture);
    // Tinting by white changes nothing; replacing spares the renderer the
    // colour at every pixel of the map.
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    if (list_ == 0) {
        sendSquares(open);
    } else {
        if (open != open_) {
            glNewList(list_, GL_COMPILE);
            sendSquares(open);
            glEndList();
            open_ = open;
        }
        glCallList(list_);
    }
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glPopMatrix();
}

void drawScene(const GameState& game, const Textures& textures, MapCache& map, bool nameEntry,
               const char* playerName)
{
    // Nothing drawn can hide anything else: the map's squares lie side by side
    // in one plane, the marker on its square at the same depth, and text is
    // drawn without the test. Testing and clearing depth would cost a pass
    // over every pixel and change none.
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(-1.0f, 0.0f, -5.0f);
    glColor3f(0.0f, 0.0f, 0.0f);

    if (nameEntry) {
        useTextColour();
        drawText(textures, 50, 420, kNamePrompt, 0);
        drawText(textures, 160, 420, playerName ? playerName : "", 0);
        return;
    }

    if (game.options.showMap) {
        map.draw(game, textures.tile);
        drawPlayerMarker(game.player.row, game.player.col, textures.tile);
    }

    for (int i = 0; i < kVisibleLines; ++i) {
        if (game.log.visible[i] == nullptr)
            continue;
        glColor3f(1.0f, 1.0f, 1.0f);
        drawText(textures, 10, static_cast<int32_t>(440.0 - i * 20.0), game.log.visible[i], 0);
    }
}

void drawStatusLine(const GameState& game, const Textures& textures, const char* playerName)
{
    if (!game.options.hudShown)
        return;
    char balas[kNumberBufferSize];
    char vidas[kNumberBufferSize];
    std::snprintf(balas, sizeof balas, "%d", static_cast<int>(game.player.bullets));
    std::snprintf(vidas, sizeof vidas, "%d", static_cast<int>(game.player.lives));

    useTextColour();
    drawText(textures, 480, 440, "Balas : ", 0);
    drawText(textures, 580, 440, balas, 0);
    drawText(textures, 680, 440, "Vidas : ", 0);
    drawText(textures, 780, 440, vidas, 0);
    drawText(textures, 480, 420, kNamePrompt, 0);
    drawText(textures, 590, 420, playerName ? playerName : "", 0);
}
