#pragma once
#include <QElapsedTimer>

// Paces the main loop. Without a display refresh to wait on (or with one the
// driver does not wait for) frames would follow each other as fast as the
// processor allows; the pacer holds each pass to its frame interval and
// handles window events while it waits. A game that waits for the player
// has nothing to do until an event comes or something it runs falls due
// (a sound ends, a creature moves): the caller says how long that is, and
// the pacer sleeps so long, waking for the first event after the frame
// interval, so that waiting costs almost no processor time. A key or button
// the player presses ends the wait at once (wake()), so the next frame's
// input step acts on it.
class FramePacer {
public:
    explicit FramePacer(int intervalMs = 16);

    // Marks the start of a frame.
    void frameStarted();
    // Handles window events until the next frame is due, or until wake() is
    // called from one of them. Nothing falls due for idleMs after the frame
    // started (0: something may at every frame; negative: only an event can
    // bring something), so the wait runs on past the frame interval until
    // then, until an event has been handled, or for longest at longestMs.
    void waitForNextFrame(qint64 idleMs = 0);
    // Ends the current wait at once: a key or button the player pressed
    // should reach the input step now, not at the next frame.
    void wake() { woken_ = true; }

    int intervalMs() const { return intervalMs_; }
    void setIntervalMs(int ms) { intervalMs_ = ms; }
    // The longest a wait lasts with nothing falling due: the loop's upkeep
    // (a screen refreshed now and then) still runs.
    static constexpr qint64 kLongestMs = 1000;

private:
    int intervalMs_;
    QElapsedTimer clock_;
    bool woken_ = false;
};
