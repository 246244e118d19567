#pragma once
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <functional>

// Acts on the next modal window of type T once it is up (a file dialog or a
// message box runs its own event loop, so the test reaches it from a timer).
template <typename T>
void whenModal(std::function<void(T*)> act, int timeoutMs = 5000)
{
    auto* timer = new QTimer;
    auto waited = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, waited, act, timeoutMs] {
        *waited += 20;
        if (T* modal = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(modal);
        } else if (*waited > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(20);
}

// Closes every message box as soon as it is up and keeps its text, so that a
// box the game shows at start can neither hang a test nor go unseen.
class BoxCloser {
public:
    BoxCloser()
    {
        timer_.callOnTimeout([this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts << box->text();
                box->accept();
            }
        });
        timer_.start(20);
    }

    QString all() const { return texts.join(QLatin1Char('\n')); }
    QStringList texts;

private:
    QTimer timer_;
};
