// A short scripted level for the screen-reader test (a11y_listener.py, which
// starts this program): the player types his name, walks to a door, opens it
// and presses Esc once. After each action it says so on standard output and keeps the game
// running until the listener answers "next" on standard input, so each
// sentence must reach the listener while the game is where it was said.
#include <poll.h>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QTest>
#include <cstdio>
#include <string>

#include "app_setup.h"
#include "game_folder.h"
#include "session_driver.h"

namespace {

// The straight corridor of the test folder with a centre door at column 4.
bool writeDoorMap()
{
    QByteArray text = "/ Un pasillo con una puerta al centro\n";
    for (int row = 0; row < 30; ++row)
        for (int col = 0; col < 30; ++col) {
            int code = 0;
            if (row == GameFolder::kRow)
                code = col == 2 ? 1 : col == 3 || col == 5 ? 3 : col == 4 ? 4 : col == 6 ? 8 : 0;
            text += QByteArray::number(code) + (col < 29 ? " " : "\n");
        }
    QFile map(QStringLiteral("nivel1.quorvane"));
    return map.open(QIODevice::WriteOnly) && map.write(text) == text.size();
}

// A line waiting on standard input, read without blocking the game.
bool lineArrived(std::string& line)
{
    pollfd in{STDIN_FILENO, POLLIN, 0};
    if (::poll(&in, 1, 0) <= 0)
        return false;
    char c = 0;
    while (::read(STDIN_FILENO, &c, 1) == 1 && c != '\n')
        line += c;
    return true;
}

// Tells the listener what was done and plays on until it answers.
bool awaitListener(GameSession& session, const char* done)
{
    std::printf("%s\n", done);
    std::fflush(stdout);
    std::string answer;
    return runUntil(session, [&] { return lineArrived(answer); }, 20000) && answer == "next";
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("ALSOFT_DRIVERS"))
        qputenv("ALSOFT_DRIVERS", "null");
    configureSurfaceFormat();
    QApplication app(argc, argv);
    GameFolder folder;
    GameSession session;
    if (!folder.ok() || !writeDoorMap() || !session.start() || !runUntilFocused(session))
        return 2;
    GameView* view = session.window()->view();
    if (!awaitListener(session, "ready"))
        return 3;
    for (Qt::Key key : {Qt::Key_A, Qt::Key_N, Qt::Key_A, Qt::Key_Return})
        QTest::keyClick(view, key);
    if (!awaitListener(session, "name"))
        return 3;
    QTest::keyClick(view, Qt::Key_Space);
    if (!awaitListener(session, "step"))
        return 3;
    QTest::keyClick(view, Qt::Key_Space);
    if (!awaitListener(session, "door"))
        return 3;
    QTest::keyClick(view, Qt::Key_J);
    if (!awaitListener(session, "open"))
        return 3;
    QTest::keyClick(view, Qt::Key_Escape);
    if (!awaitListener(session, "esc"))
        return 3;
    return 0;
}
