#pragma once
#include <QElapsedTimer>

// Paces the main loop. Without a display refresh to wait on (or with one the
// driver does not wait for) frames would follow each other as fast as the
// processor allows; the pacer holds each pass to its frame interval and
// handles window events while it waits, so a game waiting for the player
// costs little processor time and a key still reaches the key logic at once.
class FramePacer {
public:
    explicit FramePacer(int intervalMs = 16);

    // Marks the start of a frame.
    void frameStarted();
    // Handles window events until the next frame is due.
    void waitForNextFrame();

    int intervalMs() const { return intervalMs_; }
    void setIntervalMs(int ms) { intervalMs_ = ms; }

private:
    int intervalMs_;
    QElapsedTimer clock_;
};
