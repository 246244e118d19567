#include "game_session.h"

#include <QApplication>
#include <utility>

#include "frame_order.h"
#include "game_state.h"
#include "game_view.h"
#include "hold_input.h"
#include "main_window.h"
#include "openal_sound.h"
#include "qt_shell_hooks.h"
#include "view_accessibility.h"
#include "voice_arbiter.h"

// The main loop. Its other jobs have files of their own: the start
// (session_start.cpp), the window and its context (session_window.cpp),
// which frames are drawn (frame_skip.cpp), the events handled while a
// sentence holds the game (sentence_hold.cpp), how long the loop sleeps
// (wake_plan.cpp) and the report written at the end (session_end.cpp).

GameSession::GameSession(GameDir folder, const Clock& clock) : folder_(std::move(folder)), session_(clock) {}

GameSession::~GameSession()
{
    closeMainWindow();
    hooks_.reset();
    game_.reset();
}

OpenAlSound* GameSession::audioDevice() const { return device_.get(); }

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
    actOnHeldInput(hooks_->play());
    spoken_->follow(*game_);
    sounds_->update();
    const bool escape = window_->view()->takeEscape();
    if (finishFrame(hooks_->play()) || escape || hooks_->quitRequested())
        end();
    return !done_;
}

int GameSession::run()
{
    if (!start())
        return 1;
    while (runPass())
        pace();
    closeMainWindow();
    return 0;
}
