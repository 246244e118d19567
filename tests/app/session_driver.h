#pragma once
#include <QApplication>
#include <QElapsedTimer>
#include <functional>

#include "game_session.h"
#include "game_view.h"
#include "main_window.h"

// Runs the main loop's passes, paced as in the game, until something holds.
// False when the loop ended or the time ran out first. Tests wait on what
// they need, never for a fixed time, so a slow machine only makes them slower.
inline bool runUntil(GameSession& session, const std::function<bool()>& done, int timeoutMs = 10000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs || !session.runPass())
            return done();
        // A game with nothing to do sleeps until an event: what the pass
        // brought about is not waited on.
        if (!done())
            session.pace();
    }
    return true;
}

// Runs passes until one has presented a fresh frame, so that the window
// shows the game as it stands now.
inline bool runUntilDrawn(GameSession& session, int timeoutMs = 10000)
{
    session.invalidateFrame();
    const int shown = session.framesShown();
    return runUntil(session, [&] { return session.framesShown() > shown; }, timeoutMs);
}

// Runs passes until the game view has the keyboard: after the start, a menu
// or a dialog the focus comes back through the window system's events.
inline bool runUntilFocused(GameSession& session, int timeoutMs = 10000)
{
    QWidget* view = session.window()->view();
    return runUntil(session, [view] { return QApplication::focusWidget() == view; }, timeoutMs);
}
