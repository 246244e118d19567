#include <QApplication>
#include <QOpenGLContext>
#include <cstdio>

#include "game_session.h"
#include "game_view.h"
#include "main_window.h"
#include "qt_shell_hooks.h"
#include "render_state.h"
#include "textures.h"
#include "view_accessibility.h"

namespace {

// The bitmap decoder's messages, in a box titled "Error" over the window
// that has the focus.
void showBitmapError(const std::string& text)
{
    showMessageBox(QApplication::activeWindow(), QStringLiteral("Error"),
                   QString::fromUtf8(text.c_str()).trimmed(), true);
}

// The window system's own words for a failed start stay first; the teacher
// who reads the box also gets, in Spanish, what failed and what the system
// gave, since he may be the one who can fix it.
std::string withReason(const char* failure, const QString& reason)
{
    return std::string(failure) + "\n" + reason.toStdString();
}

std::string noWindow()
{
    return withReason("Window Creation Error.",
                      QStringLiteral("No se pudo crear la ventana del juego: el sistema de ventanas (%1) no la dio.")
                          .arg(QGuiApplication::platformName()));
}

std::string unsuitableFormat(const QSurfaceFormat& format, int rgbBits, int colourBits)
{
    const QString given = format.profile() == QSurfaceFormat::CoreProfile ? QStringLiteral("un perfil core")
                                                                          : QStringLiteral("%1 bits").arg(rgbBits);
    return withReason("Can't Find A Suitable PixelFormat.",
                      QStringLiteral("OpenGL no da un formato de imagen adecuado: el juego necesita OpenGL 1.1 sin "
                                     "perfil core y %1 bits de color; el controlador dio %2.")
                          .arg(colourBits)
                          .arg(given));
}

}  // namespace

bool GameSession::failStart(const std::string& text)
{
    closeMainWindow();
    // Said on stderr too: a game started from a script or a terminal, or
    // with nobody to click the box away, still tells why it did not start.
    std::fprintf(stderr, "quorvane: %s\n", text.c_str());
    showMessageBox(nullptr, QStringLiteral("ERROR"), QString::fromStdString(text), false);
    return false;
}

bool GameSession::openMainWindow(const QString& title, int width, int height, int colourBits)
{
    // Before the view exists: Qt asks for its accessible interface once.
    installViewAccessibility();
    window_ = new MainWindow(title);
    GameView* view = window_->view();
    spoken_ = new SpokenLog(view);
    window_->move(0, 30);
    view->resize(width, height);
    // Not adjustSize(): it keeps a window within two thirds of the screen,
    // which would squeeze the 800 pixels on a small screen.
    window_->resize(window_->sizeHint());
    window_->show();
    if (window_->windowHandle() == nullptr)
        return failStart(noWindow());
    window_->activateWindow();
    view->takeFocus();
    return checkContext(colourBits) && startRendering(width, height);
}

bool GameSession::checkContext(int colourBits)
{
    GameView* view = window_->view();
    // The context is made when the view is first shown; grabbing a frame
    // makes sure it exists before anything is drawn with it.
    if (!view->isValid())
        view->grabFramebuffer();
    QOpenGLContext* context = view->context();
    if (context == nullptr || !context->isValid())
        return failStart(withReason("Can't Create A GL Rendering Context.",
                                    QStringLiteral("No se pudo crear el contexto OpenGL del juego: la tarjeta "
                                                   "gráfica o su controlador no lo dio.")));
    // The drawing is fixed-function OpenGL 1.1, which a core profile lacks;
    // 16-bit colour may come as 5-5-5, so one bit less is still enough.
    const QSurfaceFormat format = context->format();
    const int rgbBits = format.redBufferSize() + format.greenBufferSize() + format.blueBufferSize();
    if (format.profile() == QSurfaceFormat::CoreProfile || (rgbBits > 0 && rgbBits < colourBits - 1))
        return failStart(unsuitableFormat(format, rgbBits, colourBits));
    view->beginFrame();
    if (QOpenGLContext::currentContext() != context)
        return failStart(withReason("Can't Activate The GL Rendering Context.",
                                    QStringLiteral("No se pudo activar el contexto OpenGL del juego: el "
                                                   "controlador no lo dejó activar.")));
    return true;
}

bool GameSession::startRendering(int width, int height)
{
    GameView* view = window_->view();
    setProjection(width, height);
    const std::optional<Textures> textures = initRenderState(folder_, &showBitmapError);
    if (!textures)
        return failStart(texturesFailure(folder_));
    view->setTextures(*textures);
    // The real drawing area, now that the window is laid out.
    setProjection(view->width(), view->height());
    view->setRedraw([this] { redraw(); });
    view->setInputArrived([this] { pacer_.wake(); });
    return true;
}

void GameSession::closeMainWindow()
{
    if (window_ == nullptr)
        return;
    if (window_->view()->context() != nullptr)
        window_->view()->doneCurrent();
    window_->allowClose();
    delete window_;
    window_ = nullptr;
    spoken_ = nullptr;
}
