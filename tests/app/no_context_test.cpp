#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "app_setup.h"
#include "game_folder.h"
#include "game_session.h"
#include "modal_helper.h"
#include "qt_shell_hooks.h"

// Under LeakSanitizer: when the context cannot be created, Qt's OpenGL widget
// lets go of the context object it made for it, which is Qt's leak, not the
// game's; the window and everything of the game's are released.
extern "C" const char* __lsan_default_suppressions() { return "leak:libQt6OpenGLWidgets.so\n"; }

namespace {

// Without an OpenGL context (Qt's offscreen platform makes none here) the
// game cannot start: the box says why, and the program ends with a failure,
// not as if it had been played.
TEST(NoContext, RunFailsAndSaysWhy)
{
    GameFolder folder;
    ASSERT_TRUE(folder.ok());
    BoxCloser boxes;
    const QStringList& texts = boxes.texts;
    GameSession session(folder.dir());
    // Where the platform does make a context the game would play on: it is
    // ended, and the test fails instead of hanging.
    QTimer::singleShot(10000, [&] {
        if (session.hooks() != nullptr)
            session.hooks()->quit();
    });
    testing::internal::CaptureStderr();
    EXPECT_NE(session.run(), 0);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("Can't Create A GL Rendering Context."), std::string::npos) << said;
    // The box keeps the window system's words and adds, in Spanish, what failed.
    EXPECT_TRUE(texts.contains(QStringLiteral("Can't Create A GL Rendering Context.\nNo se pudo crear el contexto "
                                              "OpenGL del juego: la tarjeta gráfica o su controlador no lo dio.")))
        << texts.join(u'\n').toStdString();
}

}  // namespace

int main(int argc, char* argv[])
{
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    // With a display at hand the offscreen platform would reach for its GL.
    qunsetenv("DISPLAY");
    qunsetenv("WAYLAND_DISPLAY");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("ALSOFT_DRIVERS", "null");
    configureSurfaceFormat();
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
