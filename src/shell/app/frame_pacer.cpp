#include "frame_pacer.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTimer>
#include <utility>

FramePacer::FramePacer(int intervalMs) : intervalMs_(intervalMs) { clock_.start(); }

void FramePacer::frameStarted()
{
    // Input handled before the frame started is the frame's own.
    woken_ = false;
    clock_.restart();
}

void FramePacer::waitForNextFrame()
{
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    for (;;) {
        if (std::exchange(woken_, false))
            return;
        const qint64 left = intervalMs_ - clock_.elapsed();
        if (left <= 0 || dispatcher == nullptr)
            return;
        // The timer only makes the dispatcher return when no event comes
        // first; either way the loop checks the time again.
        deadline.start(static_cast<int>(left));
        dispatcher->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
