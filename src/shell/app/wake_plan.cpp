#include <algorithm>
#include <cmath>

#include "game_session.h"
#include "game_state.h"
#include "openal_sound.h"
#include "voice_arbiter.h"

// The loop sleeps between the moments something can happen. An event (a
// key, a click, a dialog closing) always ends the sleep; this file knows
// what falls due without one.

bool GameSession::busyEveryFrame() const
{
    if (input_.nameEntry)
        return false;
    const GameState& game = *game_;
    // A replay fires its entries on time, steering follows the pointer, and
    // a step or action asked for waits on the input step's 100 ms gate (a
    // held button acts again at each opening).
    const bool requested = input_.advanceRequested || input_.leftRequested || input_.centreRequested ||
                           input_.rightRequested || input_.leftButtonDown || input_.rightButtonDown;
    return session_.replay.replaying || game.options.mouseActive || requested;
}

void GameSession::pace()
{
    const qint64 idleMs = msUntilDue();
    if (idleMs != 0 && device_)
        device_->restWhenSilent();
    pacer_.waitForNextFrame(idleMs);
}

qint64 GameSession::msUntilDue() const
{
    if (!game_ || !sounds_ || busyEveryFrame())
        return 0;
    // The screen is refreshed now and then (frame_skip.cpp).
    qint64 soonest = shown_ ? std::max<qint64>(kRefreshMs - sinceShown_.elapsed(), 0) : 0;
    // A sound's end: the welcome's next sentence, a sentence waiting for
    // another, a creature's side heard in full.
    const double sounds = sounds_->msUntilChange();
    if (sounds >= 0)
        soonest = std::min(soonest, static_cast<qint64>(std::ceil(sounds)));
    if (!input_.nameEntry && game_->msUntilThreatDue() != GameState::kNoThreatDue)
        soonest = std::min<qint64>(soonest, game_->msUntilThreatDue());
    return soonest;
}
