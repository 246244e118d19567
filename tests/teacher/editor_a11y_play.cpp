// The editor a11y_listener.py --editor listens to: the teacher moves the
// cursor, sets codes, asks what is around and undoes, by keyboard alone.
// After each action it names it on standard output and waits for the
// listener's "next", so every sentence must reach the listener in its turn.
#include <poll.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QTest>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "system_leaks.h"
#include "editor_window.h"
#include "grid_view.h"
#include "listener_line.h"

extern "C" const char* __lsan_default_suppressions() { return QUORVANE_ACCESSIBILITY_LEAKS; }

namespace {
// Runs the event loop until done() holds, for at most 20 s.
template <typename Done>
bool runUntil(Done done)
{
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > 20000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

bool listenerAnswered(const char* action)
{
    std::printf("%s\n", action);
    std::fflush(stdout);
    std::string answer;
    return runUntil([&] { return readListenerLine(answer); }) && answer == "next";
}
}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    EditorWindow window({}, QDir::tempPath());
    window.show();
    window.activateWindow();
    GridView* grid = window.grid();
    if (!runUntil([&] { return QApplication::focusWidget() == grid; }))
        return 2;
    struct Key {
        Qt::Key key;
        Qt::KeyboardModifiers mods = Qt::NoModifier;
    };
    const std::pair<const char*, std::vector<Key>> script[] = {
        {"ready", {}},
        {"down", {{Qt::Key_Down}}},
        {"door", {{Qt::Key_Right}, {Qt::Key_5}, {Qt::Key_Right}, {Qt::Key_3}}},
        {"around", {{Qt::Key_Left}, {Qt::Key_A}}},
        {"undo", {{Qt::Key_Z, Qt::ControlModifier}}},
    };
    for (const auto& [action, keys] : script) {
        for (const Key& key : keys)
            QTest::keyClick(grid, key.key, key.mods);
        if (!listenerAnswered(action))
            return 3;
    }
    return 0;
}
