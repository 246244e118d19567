#include "font.h"

#include <GL/gl.h>

namespace {
constexpr int kGlyphCount = 256;
constexpr float kCell = 0.0625f;
constexpr double kPenAdvance = 12.8;
constexpr int kFirstPrintable = 32;
constexpr int kSetStride = 128;
// A line's glyphs are drawn together, a batch at a time: a draw per glyph
// cost as much as the rest of the frame.
class GlyphBatch {
public:
    void add(int glyph, float pen)
    {
        const float cx = static_cast<float>(glyph % 16) / 16.0f;
        const float cy = static_cast<float>(glyph / 16) / 16.0f;
        Corner* q = &corners_[used_ * 4];
        q[0] = {cx, 1 - cy - kCell, pen, 0};
        q[1] = {cx + kCell, 1 - cy - kCell, pen + 16, 0};
        q[2] = {cx + kCell, 1 - cy, pen + 16, 16};
        q[3] = {cx, 1 - cy, pen, 16};
        if (++used_ == kBatch)
            flush();
    }

    void flush()
    {
        if (used_ == 0)
            return;
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, sizeof(Corner), &corners_[0].s);
        glVertexPointer(2, GL_FLOAT, sizeof(Corner), &corners_[0].x);
        glDrawArrays(GL_QUADS, 0, used_ * 4);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
        used_ = 0;
    }

private:
    struct Corner {
        GLfloat s, t, x, y;
    };
    static constexpr int kBatch = 64;
    Corner corners_[kBatch * 4];
    int used_ = 0;
};

// Text is placed in the 800x480 screen's own units, over whatever is drawn.
void beginScreenText(int32_t x, int32_t y)
{
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, 800, 0, 480, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslated(x, y, 0);
}

void endScreenText()
{
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glEnable(GL_DEPTH_TEST);
}
}  // namespace

void drawText(const Textures& textures, int32_t x, int32_t y, const char* text, int32_t glyphSet)
{
    if (text == nullptr || textures.font == 0)
        return;
    if (glyphSet > 1)
        glyphSet = 1;
    if (glyphSet < 0)
        glyphSet = 0;

    glBindTexture(GL_TEXTURE_2D, textures.font);
    beginScreenText(x, y);
    // A byte with no cell in the sheet draws nothing and does not move the pen.
    GlyphBatch batch;
    const int offset = kSetStride * glyphSet - kFirstPrintable;
    float pen = 0.0f;
    for (auto p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
        const int glyph = *p + offset;
        if (glyph < 0 || glyph >= kGlyphCount)
            continue;
        batch.add(glyph, pen);
        pen = static_cast<float>(pen + kPenAdvance);
    }
    batch.flush();
    endScreenText();
}
