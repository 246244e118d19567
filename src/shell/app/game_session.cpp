#include "game_session.h"

#include <QApplication>
#include <QOpenGLContext>
#include <chrono>
#include <cstdio>
#include <thread>

#include "frame_order.h"
#include "frame.h"
#include "game_state.h"
#include "game_view.h"
#include "hold_input.h"
#include "input_state.h"
#include "key_handlers.h"
#include "key_input.h"
#include "main_window.h"
#include "openal_sound.h"
#include "qt_shell_hooks.h"
#include "render_state.h"
#include "scene_key.h"
#include "settings_file.h"
#include "sound_check.h"
#include "textures.h"
#include "view_accessibility.h"
#include "voice_arbiter.h"

namespace {

void showStartError(const QString& text)
{
    showMessageBox(nullptr, QStringLiteral("ERROR"), text, false);
}

void showStartError(const char* text) { showStartError(QString::fromUtf8(text)); }

// The bitmap decoder's messages, in a box titled "Error" over the window
// that has the focus.
void showBitmapError(const std::string& text)
{
    showMessageBox(QApplication::activeWindow(), QStringLiteral("Error"),
                   QString::fromUtf8(text.c_str()).trimmed(), true);
}

// Why the game cannot start, in Spanish and with what the system gave: the
// teacher who reads the box may be the one who can fix it.
QString noWindow()
{
    return QStringLiteral("No se pudo crear la ventana del juego: el sistema de ventanas (%1) no la dio.")
        .arg(QGuiApplication::platformName());
}

QString unsuitableFormat(const QSurfaceFormat& format, int rgbBits, int colourBits)
{
    const QString given = format.profile() == QSurfaceFormat::CoreProfile ? QStringLiteral("un perfil core")
                                                                          : QStringLiteral("%1 bits").arg(rgbBits);
    return QStringLiteral("OpenGL no da un formato de imagen adecuado: el juego necesita OpenGL 1.1 sin perfil core "
                          "y %1 bits de color; el controlador dio %2.")
        .arg(colourBits)
        .arg(given);
}

}  // namespace

GameSession::GameSession(const Clock& clock) : session_(clock) {}

GameSession::~GameSession()
{
    closeMainWindow();
    if (input.currentGame == game_.get())
        input.currentGame = nullptr;
    hooks_.reset();
    game_.reset();
}

OpenAlSound* GameSession::audioDevice() const { return device_.get(); }

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
    if (window_->windowHandle() == nullptr) {
        closeMainWindow();
        showStartError(noWindow());
        return false;
    }
    window_->activateWindow();
    view->takeFocus();

    // The context is made when the view is first shown; grabbing a frame
    // makes sure it exists before anything is drawn with it.
    if (!view->isValid())
        view->grabFramebuffer();
    QOpenGLContext* context = view->context();
    if (context == nullptr || !context->isValid()) {
        closeMainWindow();
        showStartError("No se pudo crear el contexto OpenGL del juego: la tarjeta gráfica o su controlador no lo dio.");
        return false;
    }
    // The drawing is fixed-function OpenGL 1.1, which a core profile lacks;
    // 16-bit colour may come as 5-5-5, so one bit less is still enough.
    const QSurfaceFormat format = context->format();
    const int rgbBits = format.redBufferSize() + format.greenBufferSize() + format.blueBufferSize();
    if (format.profile() == QSurfaceFormat::CoreProfile || (rgbBits > 0 && rgbBits < colourBits - 1)) {
        closeMainWindow();
        showStartError(unsuitableFormat(format, rgbBits, colourBits));
        return false;
    }
    view->beginFrame();
    if (QOpenGLContext::currentContext() != context) {
        closeMainWindow();
        showStartError("No se pudo activar el contexto OpenGL del juego: el controlador no lo dejó activar.");
        return false;
    }
    setProjection(width, height);
    const std::optional<Textures> textures = initRenderState(&showBitmapError);
    if (!textures) {
        closeMainWindow();
        showStartError(QString::fromStdString(texturesFailure()));
        return false;
    }
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

bool GameSession::start()
{
    if (!openMainWindow(QStringLiteral("Quorvane"), 800, 480, 16))
        return false;

    // The process-wide input state belongs to this game from here on.
    input = InputState{};
    resetJournalAndReplay(session_);

    game_ = std::make_unique<GameState>(session_.clock);
    input.currentGame = game_.get();
    device_ = std::make_unique<OpenAlSound>();
    device_->setWhileBlocking([this] { return keepAlive(); });
    sounds_ = std::make_unique<VoiceArbiter>(*device_, SpeechTable::load(kSpeechTableFile),
                                             [this](double ms) { waitAlive(ms); }, session_.clock);
    hooks_ = std::make_unique<QtShellHooks>(*window_, *game_, session_, *sounds_);
    window_->view()->setHooks(&session_, hooks_.get());
    window_->setMenuHandler([this](int id) { menuCommand(id, session_, *hooks_); });
    window_->setCloseHandler([this] { hooks_->quit(); });

    // The teacher's settings of this game folder, in force from the first level.
    game_->settings = readSettingsFile(kSettingsFile);
    game_->firstInit(firstMap_.empty() ? game_->mapName : firstMap_, *sounds_);
    if (!game_->lastLoadError.empty())
        hooks_->showError(game_->lastLoadError);
    // A game played by ear that cannot be heard must say so where the player
    // or his teacher will see it, not only on a terminal; it goes on silent.
    if (!device_->hasDevice())
        showMessageBox(window_, QStringLiteral("Quorvane"),
                       QStringLiteral("No hay sonido: %1. El juego sigue en silencio; lo que dice la "
                                      "voz se escribe en la pantalla.")
                           .arg(QString::fromStdString(device_->noDeviceReason())),
                       false);
    // Without its table of where each file speaks the game cannot keep one
    // voice at a time as well: the teacher is told which file is at fault.
    if (const std::string problem = sounds_->table().problem(kSpeechTableFile); !problem.empty()) {
        const std::string text = problem + " El juego sigue, sin saber dónde habla cada sonido.";
        std::fprintf(stderr, "quorvane: %s\n", text.c_str());
        showMessageBox(window_, QStringLiteral("Quorvane"), QString::fromStdString(text), false);
    }
    // Sound settings the game refused (and replaced with its own) are told
    // where the teacher will see them.
    if (!device_->settingsNotice().empty())
        showMessageBox(window_, QStringLiteral("Quorvane"), QString::fromStdString(device_->settingsNotice()), false);
    // A missing or broken sound would leave a silent hole in a game played
    // by ear: every file is checked once, and the teacher told which.
    const std::vector<std::string> unplayable = unplayableSoundFiles(gameSoundFiles(sounds_->table()));
    if (!unplayable.empty()) {
        std::fprintf(stderr, "quorvane: %s\n", unplayableSoundsMessage(unplayable, unplayable.size()).c_str());
        showMessageBox(window_, QStringLiteral("Quorvane"),
                       QString::fromStdString(unplayableSoundsMessage(unplayable, 12)), false);
    }
    game_->SonidoEscribeTuNombre.playCurrent(0, 0, kPlayOnce);
    pacer_.frameStarted();
    return true;
}

void GameSession::drawFrame()
{
    const GameState& game = *game_;
    GameView* view = window_->view();
    // A frame whose picture would be the one on screen is neither drawn nor
    // presented; the rules and the input step run all the same. Now and
    // then a frame is drawn anyway, so the screen can never stay stale.
    const bool due = !shown_ || sinceShown_.elapsed() >= kRefreshMs;
    bool drawn = false;
    auto drawAll = [&](const SceneKey& key, bool withStatus) {
        view->beginFrame();
        paint(withStatus);
        shownKey_ = key;
        drawn = true;
    };
    const FrameDrawing drawing{
        [&] {
            const SceneKey key = sceneKeyOf(game, input.nameEntry, input.playerName);
            if (due || key != shownKey_)
                drawAll(key, false);
        },
        [&] {
            if (drawn) {
                drawStatusLine(game, view->textures(), input.playerName);
                return;
            }
            // The timed threats may have changed what the status line shows.
            const SceneKey key = sceneKeyOf(game, input.nameEntry, input.playerName);
            if (key != shownKey_)
                drawAll(key, true);
        },
    };
    runFrameLogic(*game_, session_, drawing);
    ++frames_;
    if (!drawn)
        return;
    view->present();
    shown_ = true;
    sinceShown_.restart();
    ++framesShown_;
}

void GameSession::redraw()
{
    if (game_)
        paint(!input.nameEntry);
}

void GameSession::paint(bool withStatus)
{
    GameView* view = window_->view();
    drawScene(*game_, view->textures(), view->mapCache(), input.nameEntry, input.playerName);
    if (withStatus)
        drawStatusLine(*game_, view->textures(), input.playerName);
}

bool GameSession::keepAlive()
{
    if (window_ == nullptr || !game_)
        return true;
    // Repaints, the window manager's pings and the close box are answered,
    // so the desktop never takes the game for dead; keys, clicks and menu
    // commands are taken now, as the hold allows, so none waits to act on
    // a game that has moved on.
    input.holding = true;
    input.holdStretch = device_->stretch();
    QCoreApplication::processEvents();
    input.holding = false;
    spoken_->follow(*game_);
    GameView* view = window_->view();
    // A sentence the rules wrote before they began to speak is shown while
    // it is said.
    const SceneKey key = sceneKeyOf(*game_, input.nameEntry, input.playerName);
    if (key != shownKey_) {
        view->beginFrame();
        redraw();
        view->present();
        shownKey_ = key;
        // The frame under way draws everything again when the sentence ends.
        shown_ = false;
    }
    // A repaint may have left another context current.
    view->beginFrame();
    return !takeHoldCut();
}

void GameSession::waitAlive(double ms)
{
    QElapsedTimer clock;
    clock.start();
    while (static_cast<double>(clock.nsecsElapsed()) < ms * 1e6) {
        if (!keepAlive()) {
            device_->cutStretch();
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

bool GameSession::runPass()
{
    if (done_ || window_ == nullptr)
        return false;
    QCoreApplication::processEvents();
    if (hooks_->quitRequested()) {
        end();
        return false;
    }
    pacer_.frameStarted();
    drawFrame();
    // A hold the frame's rules made is over: what it kept acts now.
    actOnHeldInput(session_, *hooks_);
    spoken_->follow(*game_);
    sounds_->update();
    const bool escape = window_->view()->takeEscape();
    if (finishFrame(*game_, session_, *hooks_) || escape || hooks_->quitRequested())
        end();
    return !done_;
}

void GameSession::end()
{
    done_ = true;
    // However the program ends, a level the player has played (two steps or
    // more) keeps its report, as Enter would have written it.
    if (!input.nameEntry && !session_.replay.replaying && game_->stepCount >= 2)
        reportLevel(*game_, session_, *hooks_);
}

int GameSession::run()
{
    if (!start())
        return 0;
    while (runPass())
        pace();
    closeMainWindow();
    return 0;
}
