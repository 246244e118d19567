#pragma once
#include <QElapsedTimer>

// Paces the main loop. Without a display refresh to wait on (or with one the
// driver does not wait for) frames would follow each other as fast as the
// processor allows; the pacer holds each pass to its frame interval and
// handles window events while it waits, so a game waiting for the player
// costs little processor time and a key still reaches the key logic at once.
// The wait ends early when the player presses something, so the next frame's
// input step can act on it.
class FramePacer {
public:
    explicit FramePacer(int intervalMs = 16);

    // Marks the start of a frame.
    void frameStarted();
    // Handles window events until the next frame is due, or until wake() is
    // called from one of them.
    void waitForNextFrame();
    // Ends the current wait at once: a key or button the player pressed
    // should reach the input step now, not at the next frame.
    void wake() { woken_ = true; }

    int intervalMs() const { return intervalMs_; }
    void setIntervalMs(int ms) { intervalMs_ = ms; }

private:
    int intervalMs_;
    QElapsedTimer clock_;
    bool woken_ = false;
};
