#include "frame_pacer.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <utility>

FramePacer::FramePacer(int intervalMs) : intervalMs_(intervalMs) { clock_.start(); }

void FramePacer::frameStarted()
{
    // Input handled before the frame started is the frame's own.
    woken_ = false;
    clock_.restart();
}

void FramePacer::waitForNextFrame(qint64 idleMs)
{
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    const qint64 until = std::clamp<qint64>(idleMs < 0 ? kLongestMs : idleMs, intervalMs_, kLongestMs);
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    // An event handled may have changed what the next frame shows or does:
    // once the frame interval is over, it ends the wait.
    bool handled = false;
    for (;;) {
        if (std::exchange(woken_, false))
            return;
        const qint64 elapsed = clock_.elapsed();
        const qint64 left = (handled ? intervalMs_ : until) - elapsed;
        if (left <= 0 || dispatcher == nullptr)
            return;
        // The timer only makes the dispatcher return when no event comes
        // first; either way the loop checks the time again.
        deadline.start(static_cast<int>(left));
        handled = dispatcher->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents) || handled;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
