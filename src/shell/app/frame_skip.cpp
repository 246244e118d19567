#include "frame.h"
#include "frame_order.h"
#include "game_session.h"
#include "game_state.h"
#include "game_view.h"
#include "qt_shell_hooks.h"
#include "main_window.h"
#include "scene_key.h"

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
    auto keyNow = [&] { return sceneKeyOf(game, input_.nameEntry, input_.playerName); };
    const FrameDrawing drawing{
        [&] {
            if (const SceneKey key = keyNow(); due || key != shownKey_)
                drawAll(key, false);
        },
        [&] {
            if (drawn) {
                drawStatusLine(game, view->textures(), input_.playerName);
                return;
            }
            // The timed threats may have changed what the status line shows.
            if (const SceneKey key = keyNow(); key != shownKey_)
                drawAll(key, true);
        },
    };
    runFrameLogic(hooks_->play(), drawing);
    ++frames_;
    if (drawn) {
        view->present();
        shown_ = true;
        sinceShown_.restart();
        ++framesShown_;
    }
}

void GameSession::redraw()
{
    if (game_)
        paint(!input_.nameEntry);
}

void GameSession::paint(bool withStatus)
{
    GameView* view = window_->view();
    drawScene(*game_, view->textures(), view->mapCache(), input_.nameEntry, input_.playerName);
    if (withStatus)
        drawStatusLine(*game_, view->textures(), input_.playerName);
}
