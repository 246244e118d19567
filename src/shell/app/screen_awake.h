#pragma once
#include <QString>
#include <cstdint>

// Keeps the screen from blanking or locking while the game runs: a child
// plays by ear, often without touching the mouse for a long while, and a
// locked screen would steal the keys. Asks the desktop's screen saver over
// the D-Bus session bus for an inhibition when made and releases it when
// destroyed. Without a session bus or a screen saver service the game goes
// on as before; the reason is written once to stderr.
class ScreenAwake {
public:
    ScreenAwake();
    ~ScreenAwake();
    ScreenAwake(const ScreenAwake&) = delete;
    ScreenAwake& operator=(const ScreenAwake&) = delete;

    bool held() const { return held_; }

private:
    bool held_ = false;
    uint32_t cookie_ = 0;
    QString path_;
};
