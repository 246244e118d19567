#pragma once
#include <QElapsedTimer>
#include <functional>

#include "game_session.h"

// Runs the main loop's passes, paced as in the game, for a while or until
// something holds. False when the loop ended or the time ran out first.
inline bool runUntil(GameSession& session, const std::function<bool()>& done, int timeoutMs = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs || !session.runPass())
            return done();
        session.pace();
    }
    return true;
}

inline void runFor(GameSession& session, int ms)
{
    QElapsedTimer clock;
    clock.start();
    runUntil(session, [&] { return clock.elapsed() >= ms; }, ms + 1000);
}
