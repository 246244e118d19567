#include "game_view.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "input_state.h"
#include "key_codes.h"
#include "key_input.h"
#include "play.h"
#include "render_state.h"

GameView::GameView(QWidget* parent) : QOpenGLWidget(parent)
{
    // Frames are drawn outside paintGL, so the framebuffer must keep what
    // was drawn until Qt shows it.
    setUpdateBehavior(QOpenGLWidget::PartialUpdate);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Quorvane"));
    setAttribute(Qt::WA_InputMethodEnabled);
}

void GameView::beginFrame() { makeCurrent(); }

void GameView::present() { repaint(); }

void GameView::takeFocus()
{
    window()->activateWindow();
    setFocus(Qt::OtherFocusReason);
}

void GameView::resizeGL(int width, int height)
{
    setProjection(width, height);
    redrawPending_ = true;
}

void GameView::paintGL()
{
    // A new framebuffer (after a resize) holds nothing yet: draw the game
    // as it stands so the window is never left blank.
    if (redrawPending_ && redraw_) {
        redrawPending_ = false;
        redraw_();
    }
}

void GameView::keyPressEvent(QKeyEvent* event)
{
    const int vk = virtualKeyFor(event->key(), event->modifiers());
    if (vk == 0 || play_ == nullptr) {
        QOpenGLWidget::keyPressEvent(event);
        return;
    }
    // A held Esc asks once: its auto-repeat must not answer its own
    // question and end the game (and a welcome skipped with it must not ask).
    if (vk == Vk::Escape && event->isAutoRepeat()) {
        event->accept();
        return;
    }
    // Any other held key's auto-repeat counts as further presses, as the
    // name entry and the input step expect.
    keyDown(vk, *play_);
    // Esc ends the game only when the key logic has had it confirmed.
    if (vk == Vk::Escape && play_->input.keys[Vk::Escape])
        escapePressed_ = true;
    event->accept();
    if (inputArrived_)
        inputArrived_();
}

void GameView::keyReleaseEvent(QKeyEvent* event)
{
    // Auto-repeat sends a release before every repeated press; the key is
    // still held, so only the real release counts.
    if (event->isAutoRepeat())
        return;
    const int vk = virtualKeyFor(event->key(), event->modifiers());
    if (vk != 0 && play_ != nullptr)
        keyUp(vk, *play_);
}

void GameView::inputMethodEvent(QInputMethodEvent* event)
{
    event->accept();
    if (play_ == nullptr)
        return;
    for (const QChar ch : event->commitString()) {
        // Qt numbers a Latin-1 letter's key with its upper case.
        const QChar upper = ch.toUpper();
        const int vk = upper.unicode() < 0x100 ? virtualKeyFor(upper.unicode(), Qt::NoModifier) : 0;
        if (vk == 0)
            continue;
        keyDown(vk, *play_);
        keyUp(vk, *play_);
    }
    if (inputArrived_)
        inputArrived_();
}

void GameView::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    if ((event->button() != Qt::LeftButton && event->button() != Qt::RightButton) || play_ == nullptr)
        return;
    mouseButton(event->button() == Qt::LeftButton, true, *play_);
    if (inputArrived_)
        inputArrived_();
}

void GameView::mouseReleaseEvent(QMouseEvent* event)
{
    if ((event->button() == Qt::LeftButton || event->button() == Qt::RightButton) && play_ != nullptr)
        mouseButton(event->button() == Qt::LeftButton, false, *play_);
}

bool GameView::focusNextPrevChild(bool) { return false; }
