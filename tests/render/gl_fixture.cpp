#include "gl_fixture.h"

#include <GL/gl.h>

#include <QtGui/QGuiApplication>
#include <QtGui/QSurfaceFormat>

#include <unistd.h>

#include <cstdlib>

#include "render_state.h"

const Rgb GlFrameTest::kWhite{255, 255, 255};
const Rgb GlFrameTest::kTile{220, 180, 60};
const Rgb GlFrameTest::kMarker{220, 0, 0};

std::filesystem::path GlFrameTest::scratch_;
std::unique_ptr<QOffscreenSurface> GlFrameTest::surface_;
std::unique_ptr<QOpenGLContext> GlFrameTest::context_;
std::unique_ptr<QOpenGLFramebufferObject> GlFrameTest::target_;
Textures GlFrameTest::textures_;

namespace {
int appArgc = 1;
char appName[] = "render_gl_test";
char* appArgv[] = {appName, nullptr};

Rgb tileColour(int) { return GlFrameTest::kTile; }
}  // namespace

Rgb GlFrameTest::glyphColour(int glyph)
{
    return {static_cast<uint8_t>(40 + 12 * (glyph % 16)), static_cast<uint8_t>(40 + 12 * (glyph / 16)), 100};
}

void GlFrameTest::SetUpTestSuite()
{
    if (QGuiApplication::instance() == nullptr)
        new QGuiApplication(appArgc, appArgv);

    QSurfaceFormat format;
    format.setVersion(2, 1);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(16);
    surface_ = std::make_unique<QOffscreenSurface>();
    surface_->setFormat(format);
    surface_->create();
    context_ = std::make_unique<QOpenGLContext>();
    context_->setFormat(format);
    ASSERT_TRUE(context_->create()) << "no OpenGL context: run under xvfb-run";
    ASSERT_TRUE(context_->makeCurrent(surface_.get()));

    QOpenGLFramebufferObjectFormat targetFormat;
    targetFormat.setAttachment(QOpenGLFramebufferObject::Depth);
    target_ = std::make_unique<QOpenGLFramebufferObject>(kWidth, kHeight, targetFormat);
    ASSERT_TRUE(target_->isValid());
    target_->bind();

    scratch_ = std::filesystem::temp_directory_path() / ("quorvane-render-" + std::to_string(::getpid()));
    std::filesystem::create_directories(scratch_ / "Data");
    writeFile(scratch_ / "Data/Font2.bmp", cellSheet(256, &GlFrameTest::glyphColour));
    writeFile(scratch_ / "Data/casilla.bmp", cellSheet(16, &tileColour));

    setProjection(kWidth, kHeight);
    const std::optional<Textures> textures = initRenderState(GameDir(scratch_), nullptr);
    ASSERT_TRUE(textures);
    textures_ = *textures;
}

void GlFrameTest::TearDownTestSuite()
{
    std::filesystem::remove_all(scratch_);
    target_.reset();
    if (context_)
        context_->doneCurrent();
    context_.reset();
    surface_.reset();
}

void GlFrameTest::SetUp()
{
    ASSERT_TRUE(context_ && target_) << "the GL set-up failed";
    target_->bind();
    setProjection(kWidth, kHeight);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void GlFrameTest::readFrame()
{
    glFinish();
    frame_.assign(static_cast<size_t>(kWidth) * kHeight * 4, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, frame_.data());
}

Rgb GlFrameTest::at(int x, int yFromBottom) const
{
    const size_t i = (static_cast<size_t>(yFromBottom) * kWidth + x) * 4;
    return {frame_[i], frame_[i + 1], frame_[i + 2]};
}

::testing::AssertionResult near(const Rgb& actual, const Rgb& expected)
{
    for (int c = 0; c < 3; ++c)
        if (std::abs(actual[c] - expected[c]) > 3)
            return ::testing::AssertionFailure() << "got (" << int(actual[0]) << ", " << int(actual[1]) << ", "
                                                 << int(actual[2]) << "), expected (" << int(expected[0]) << ", "
                                                 << int(expected[1]) << ", " << int(expected[2]) << ")";
    return ::testing::AssertionSuccess();
}
