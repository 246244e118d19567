#include "font.h"

#include <GL/gl.h>

#include "textures.h"

unsigned int glyphListBase = 0;

namespace {
constexpr int kGlyphCount = 256;
constexpr float kCell = 0.0625f;
constexpr double kPenAdvance = 12.8;
constexpr int kFirstPrintable = 32;
constexpr int kSetStride = 128;
}  // namespace

void buildGlyphLists()
{
    glyphListBase = glGenLists(kGlyphCount);
    if (glyphListBase == 0)
        return;
    glBindTexture(GL_TEXTURE_2D, fontTexture);
    for (int i = 0; i < kGlyphCount; ++i) {
        const float cx = static_cast<float>(i % 16) / 16.0f;
        const float cy = static_cast<float>(i / 16) / 16.0f;
        glNewList(glyphListBase + i, GL_COMPILE);
        glBegin(GL_QUADS);
        glTexCoord2f(cx, 1 - cy - kCell);
        glVertex2i(0, 0);
        glTexCoord2f(cx + kCell, 1 - cy - kCell);
        glVertex2i(16, 0);
        glTexCoord2f(cx + kCell, 1 - cy);
        glVertex2i(16, 16);
        glTexCoord2f(cx, 1 - cy);
        glVertex2i(0, 16);
        glEnd();
        glTranslated(kPenAdvance, 0, 0);
        glEndList();
    }
}

void drawText(int32_t x, int32_t y, const char* text, int32_t glyphSet)
{
    if (text == nullptr || glyphListBase == 0)
        return;
    if (glyphSet > 1)
        glyphSet = 1;
    if (glyphSet < 0)
        glyphSet = 0;

    glBindTexture(GL_TEXTURE_2D, fontTexture);
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, 800, 0, 480, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslated(x, y, 0);

    // Glyphs are called one by one so that a byte outside the sheet can never
    // reach a display list someone else owns.
    const int offset = kSetStride * glyphSet - kFirstPrintable;
    for (auto p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
        const int glyph = *p + offset;
        if (glyph >= 0 && glyph < kGlyphCount)
            glCallList(glyphListBase + static_cast<unsigned>(glyph));
    }

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glEnable(GL_DEPTH_TEST);
}
