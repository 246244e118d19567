#pragma once
#include <gtest/gtest.h>

#include <QtGui/QOffscreenSurface>
#include <QtGui/QOpenGLContext>
#include <QtOpenGL/QOpenGLFramebufferObject>

#include <filesystem>
#include <memory>
#include <vector>

#include "bmp_builder.h"
#include "textures.h"

// A compatibility-profile context drawing into an 800 by 480 framebuffer,
// with a font sheet and map square written by the test into Data/ of a
// scratch game folder. Shared by all tests of a suite: textures are
// made once per context, as in the game.
class GlFrameTest : public ::testing::Test {
public:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 480;
    static const Rgb kWhite;
    static const Rgb kTile;
    static const Rgb kMarker;

    // The colour of glyph cell i on the test's font sheet: every cell differs
    // and none is white or black.
    static Rgb glyphColour(int glyph);

    static void SetUpTestSuite();
    static void TearDownTestSuite();

protected:
    void SetUp() override;

    // The textures the suite's context was set up with.
    static const Textures& textures() { return textures_; }

    // Reads the frame back; y counts from the bottom, as drawText does.
    void readFrame();
    Rgb at(int x, int yFromBottom) const;
    // The same pixel counted from the top of the drawing area.
    Rgb atFromTop(int x, int yFromTop) const { return at(x, kHeight - 1 - yFromTop); }

    std::vector<uint8_t> frame_;

    // The game folder the suite's pictures are read from.
    static std::filesystem::path scratch_;

private:
    static std::unique_ptr<QOffscreenSurface> surface_;
    static std::unique_ptr<QOpenGLContext> context_;
    static std::unique_ptr<QOpenGLFramebufferObject> target_;
    static Textures textures_;
};

// Colours compare within a small tolerance for filtering round-off.
::testing::AssertionResult near(const Rgb& actual, const Rgb& expected);
