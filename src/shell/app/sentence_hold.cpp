#include <QCoreApplication>
#include <QElapsedTimer>
#include <chrono>
#include <thread>

#include "game_session.h"
#include "game_state.h"
#include "game_view.h"
#include "hold_input.h"
#include "main_window.h"
#include "openal_sound.h"
#include "scene_key.h"
#include "view_accessibility.h"

bool GameSession::keepAlive()
{
    if (window_ == nullptr || !game_)
        return true;
    // Repaints, the window manager's pings and the close box are answered,
    // so the desktop never takes the game for dead; keys, clicks and menu
    // commands are taken now, as the hold allows, so none waits to act on
    // a game that has moved on.
    input_.holding = true;
    input_.holdStretch = device_->stretch();
    QCoreApplication::processEvents();
    input_.holding = false;
    spoken_->follow(*game_);
    GameView* view = window_->view();
    // A sentence the rules wrote before they began to speak is shown while
    // it is said.
    const SceneKey key = sceneKeyOf(*game_, input_.nameEntry, input_.playerName);
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
    return !takeHoldCut(input_);
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
