// The scripted level a11y_listener.py listens to: the player types his name,
// hears the welcome begin and skips it, walks to a centre door, opens it,
// opens the teacher's settings and closes them with Esc, and presses Esc
// once. After each action it
// names it on standard output and plays on until the listener answers "next",
// so every sentence must reach the listener while the game is where it was said.
#include <poll.h>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QTest>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "system_leaks.h"
#include "app_setup.h"
#include "game_folder.h"
#include "input_state.h"
#include "key_input.h"
#include "listener_line.h"
#include "qt_shell_hooks.h"
#include "session_driver.h"

extern "C" const char* __lsan_default_suppressions() { return QUORVANE_ACCESSIBILITY_LEAKS; }

namespace {

// The test folder's corridor, with a centre door on its third square.
bool writeDoorMap(const GameFolder& folder)
{
    QByteArray text = "/ Un pasillo con una puerta al centro\n";
    const int corridor[] = {1, 3, 4, 3, 8};
    for (int row = 0; row < 30; ++row)
        for (int col = 0; col < 30; ++col) {
            const bool on = row == GameFolder::kRow && col >= 2 && col < 7;
            text += QByteArray::number(on ? corridor[col - 2] : 0) + (col < 29 ? " " : "\n");
        }
    QFile map(folder.file(QStringLiteral("nivel1.quorvane")));
    return map.open(QIODevice::WriteOnly) && map.write(text) == text.size();
}

bool listenerAnswered(GameSession& session, const char* action)
{
    std::printf("%s\n", action);
    std::fflush(stdout);
    std::string answer;
    return runUntil(session, [&] { return readListenerLine(answer); }, 20000) && answer == "next";
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("ALSOFT_DRIVERS"))
        qputenv("ALSOFT_DRIVERS", "null");
    configureSurfaceFormat();
    QApplication app(argc, argv);
    GameFolder folder;
    GameSession session(folder.dir());
    if (!folder.ok() || !writeDoorMap(folder) || !session.start() || !runUntilFocused(session))
        return 2;
    GameView* view = session.window()->view();
    const std::pair<const char*, std::vector<Qt::Key>> script[] = {
        {"ready", {}},
        // The welcome begins with the name's Enter and Esc skips it before a
        // pass of the main loop can move it on: its first sentence, then the
        // level's title and goal.
        {"name", {Qt::Key_A, Qt::Key_N, Qt::Key_A, Qt::Key_Return, Qt::Key_Escape}},
        {"step", {Qt::Key_Space}},
        {"door", {Qt::Key_Space}},
        {"open", {Qt::Key_J}},
        {"settings", {}},
        {"esc", {Qt::Key_Escape}},
    };
    for (const auto& [action, keys] : script) {
        if (std::string(action) == "settings") {
            // The window the menu opens; the listener reads its controls.
            menuCommand(MenuId::TeacherSettings, session.hooks()->play());
            if (!runUntil(session, [&] { return session.hooks()->teacherWindow() != nullptr; }))
                return 4;
        }
        for (Qt::Key key : keys)
            QTest::keyClick(view, key);
        if (!listenerAnswered(session, action))
            return 3;
        if (TeacherWindow* teacher = session.hooks()->teacherWindow()) {
            QTest::keyClick(teacher, Qt::Key_Escape);
            if (!runUntil(session, [&] { return session.hooks()->teacherWindow() == nullptr; }) ||
                !runUntilFocused(session))
                return 5;
        }
    }
    return 0;
}
