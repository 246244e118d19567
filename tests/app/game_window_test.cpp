#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app_setup.h"
#include "clock.h"
#include "game_folder.h"
#include "game_state.h"
#include "game_view.h"
#include "input_state.h"
#include "main_window.h"
#include "modal_helper.h"
#include "session_driver.h"

namespace {

// 09:07:02 UTC on Monday 3 March 2008.
// The game's own ticks, on a calendar the test sets: reports are named after
// their time.
class FixedCalendar final : public Clock {
public:
    Tick now() const override { return systemClock().now(); }
    std::time_t calendar() const override { return calendar_; }
    std::time_t calendar_ = 1204535222;
};

// Where the centre of a map square lands in the 800 by 480 frame (y from the
// top): the square's centre in eye space seen through the 45-degree
// perspective.
QPoint squareCentre(int row, int col)
{
    const double f = 1.0 / std::tan(22.5 * M_PI / 180.0);
    const double ndcX = f / (800.0 / 480.0) * (0.5 + 0.1 * col) / 5.0;
    const double ndcY = f * (1.2 - 0.1 * row) / 5.0;
    return QPoint(static_cast<int>(std::lround((ndcX + 1) / 2 * 800)),
                  static_cast<int>(std::lround((1 - ndcY) / 2 * 480)));
}

// Dark pixels in the band of a message line (line 0 at y 440 from the bottom).
int darkPixelsInLine(const QImage& frame, int line, int fromX, int toX)
{
    const int top = 480 - (440 - 20 * line) - 16;
    int dark = 0;
    for (int y = top; y < top + 16; ++y)
        for (int x = fromX; x < toX; ++x)
            if (qGray(frame.pixel(x, y)) < 64)
                ++dark;
    return dark;
}

std::vector<std::string> readLines(const QString& path, bool* endsWithNewline)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    *endsWithNewline = bytes.endsWith('\n');
    std::vector<std::string> lines;
    for (const QByteArray& line : bytes.split('\n'))
        lines.push_back(line.toStdString());
    if (*endsWithNewline)
        lines.pop_back();
    return lines;
}

void pressKey(GameView* view, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(view, key, modifiers);
}

class GameWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.ok());
        ASSERT_TRUE(session.start());
        view = session.window()->view();
        game = session.game();
    }

    // Presses Space and runs the loop until the step has been taken.
    bool stepForward()
    {
        const int32_t before = game->stats.stepCount;
        pressKey(view, Qt::Key_Space);
        return runUntil(session, [&] { return game->stats.stepCount > before; });
    }

    GameFolder folder;
    FixedCalendar clock;
    GameSession session{folder.dir(), clock};
    GameView* view = nullptr;
    GameState* game = nullptr;
};

TEST_F(GameWindowTest, WindowHasItsTitlePlaceSizeMenusAndTheKeyboard)
{
    EXPECT_TRUE(runUntilFocused(session));
    MainWindow* window = session.window();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Quorvane"));
    EXPECT_EQ(window->pos(), QPoint(0, 30));
    EXPECT_EQ(view->size(), QSize(800, 480));
    const QList<QAction*> menus = window->menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    QStringList items;
    for (QAction* action : window->gameMenu()->actions())
        items << action->text();
    EXPECT_EQ(items, QStringList({"Cambiar Mapa", "Guardar Juego", "Opciones", "CargarJuego", "Ajustes del maestro",
                                  "Editor de mapas", "Salir                  (Esc)"}));
    ASSERT_EQ(window->helpMenu()->actions().size(), 1);
    EXPECT_EQ(window->helpMenu()->actions().first()->text(), QStringLiteral("Teclas"));
    EXPECT_EQ(QApplication::focusWidget(), view);
    EXPECT_FALSE(game->cells[GameFolder::kRow][GameFolder::kStartCol].kind == 0);
}

// quorvane --mapa FILE (the map editor's "Probar en el juego"): the game
// starts on that map, named by its own name in the game folder, so a shipped
// level keeps its title, and by its whole path elsewhere.
TEST(GameFirstMapTest, TheMapNamedOnTheCommandLineIsTheFirstLevel)
{
    GameFolder folder;
    ASSERT_TRUE(folder.ok());
    EXPECT_EQ(mapNameInGameFolder(folder.file(QStringLiteral("nivel1.quorvane")), folder.dir()), "nivel1.quorvane");
    QTemporaryDir elsewhere;
    QFile map(elsewhere.filePath(QStringLiteral("otro.quorvane")));
    QByteArray text;
    for (int row = 0; row < 30; ++row)
        text += row == 1 ? "0 1 8" + QByteArray(" 0").repeated(27) + "\n" : "0" + QByteArray(" 0").repeated(29) + "\n";
    ASSERT_TRUE(map.open(QIODevice::WriteOnly) && map.write(text) == text.size());
    map.close();
    const std::string name = mapNameInGameFolder(map.fileName(), folder.dir());
    EXPECT_EQ(name, QFile::encodeName(map.fileName()).toStdString());

    // The game plays in its folder without entering it: a name the user
    // typed keeps meaning a file where he started the program.
    const QString started = QDir::currentPath();
    GameSession session(folder.dir());
    session.setFirstMap(name);
    ASSERT_TRUE(session.start());
    EXPECT_EQ(session.game()->mapName, name);
    EXPECT_EQ(session.game()->player.row, 1);
    EXPECT_EQ(session.game()->player.col, 1);
    EXPECT_EQ(QDir::currentPath(), started);
}

TEST_F(GameWindowTest, NameEntryStepsScreenAndReportFollowThePlayer)
{
    // Name entry: Shift still gives lower case, keypad digits and Backspace
    // are ignored, Delete erases.
    pressKey(view, Qt::Key_A, Qt::ShiftModifier);
    pressKey(view, Qt::Key_N);
    pressKey(view, Qt::Key_X);
    pressKey(view, Qt::Key_Backspace);
    pressKey(view, Qt::Key_Delete);
    pressKey(view, Qt::Key_7, Qt::KeypadModifier);
    pressKey(view, Qt::Key_A);
    pressKey(view, Qt::Key_2);
    ASSERT_TRUE(runUntilDrawn(session));
    EXPECT_STREQ(session.input().playerName, "ana2");
    {
        const QImage frame = view->grabFramebuffer();
        EXPECT_GT(darkPixelsInLine(frame, 1, 50, 160), 0) << "the prompt at (50, 420)";
        EXPECT_GT(darkPixelsInLine(frame, 1, 160, 220), 0) << "the name at (160, 420)";
    }
    pressKey(view, Qt::Key_Return);
    EXPECT_FALSE(session.input().nameEntry);
    pressKey(view, Qt::Key_Escape);  // the welcome skipped

    // Two steps down the corridor, each taken by the first frame that may.
    ASSERT_TRUE(stepForward());
    ASSERT_TRUE(stepForward());
    EXPECT_EQ(game->player.col, GameFolder::kStartCol + 2);
    EXPECT_EQ(game->stats.stepCount, 2);
    ASSERT_GE(game->log.visibleCount, 1);

    // Every message line in use shows text; the lines below stay white.
    game->options.showMap = true;
    ASSERT_TRUE(runUntilDrawn(session));
    const QImage frame = view->grabFramebuffer();
    for (int line = 0; line < 23; ++line) {
        const int dark = darkPixelsInLine(frame, line, 10, 300);
        if (game->log.visible[line] != nullptr)
            EXPECT_GT(dark, 0) << "message line " << line;
        else
            EXPECT_EQ(dark, 0) << "message line " << line;
    }
    // The status line once the first step is taken.
    EXPECT_GT(darkPixelsInLine(frame, 0, 480, 560), 0);

    // The map view: the player's square in red, a corridor square grey, a
    // wall white.
    const QRgb marker = frame.pixel(squareCentre(GameFolder::kRow, game->player.col));
    EXPECT_GT(qRed(marker), 0x60);
    EXPECT_LT(qGreen(marker), 0x20);
    EXPECT_LT(qBlue(marker), 0x20);
    const QRgb tile = frame.pixel(squareCentre(GameFolder::kRow, GameFolder::kStartCol + 3));
    EXPECT_NEAR(qRed(tile), GameFolder::kTileGrey, 8);
    EXPECT_NEAR(qGreen(tile), GameFolder::kTileGrey, 8);
    const QRgb wall = frame.pixel(squareCentre(GameFolder::kRow + 2, GameFolder::kStartCol));
    EXPECT_EQ(qGray(wall), 255);

    // Enter writes the report of the level just played, then restarts it.
    std::vector<std::string> expected;
    for (int r = 0; r < 30; ++r) {
        std::string row;
        for (int c = 0; c < 30; ++c) {
            int kind = 0;
            if (r == GameFolder::kRow && c == GameFolder::kStartCol)
                kind = 1;
            else if (r == GameFolder::kRow && c > GameFolder::kStartCol && c < GameFolder::kExitCol)
                kind = 2;
            else if (r == GameFolder::kRow && c == GameFolder::kExitCol)
                kind = 6;
            row += (c ? " " : "") + std::to_string(kind);
        }
        expected.push_back(row);
    }
    // The settings the level started with, kept for the teacher only.
    expected.push_back(std::to_string(static_cast<int32_t>(game->settingsLineTick)));
    expected.push_back("Ajustes: voz normal, criaturas cada 3 segundos, trampas s\xED, balas infinitas no, mapa a la "
                       "vista no.");
    for (int i = 0; i < game->log.historyCount; ++i) {
        expected.push_back(std::to_string(static_cast<int32_t>(game->log.historyTicks[i])));
        std::string sentence = game->log.history[i];
        ASSERT_EQ(sentence.back(), '\n');
        sentence.pop_back();
        expected.push_back(sentence);
    }
    const std::vector<std::string> data = {
        "DATOS :", "Nombre :", "ana2", "Mapa :", "nivel1.quorvane", "Tiempo de juego :"};
    expected.insert(expected.end(), data.begin(), data.end());
    const size_t timeLine = expected.size();
    expected.push_back("");
    const std::vector<std::string> counters = {
        "N\xBA Disparos errados :", "0", "Disparos errados a monstruos :", "0",
        "Disparos errados a mutantes :", "0", "Disparos errados a supermonstruos :", "0",
        "Disparos errados en pasillo :", "0", "N\xBA Pasos en falso :", "0",
        "N\xBA Pasos con monstruo :", "0", "Choque contra la puerta :", "0",
        "Error al tomar las balas :", "0", "Juego Exitoso :", "No", "N\xBA Pasos avanzados :", "2",
        "Balas Final :", std::to_string(game->player.bullets), "Camino Avanzado :"};
    expected.insert(expected.end(), counters.begin(), counters.end());
    const size_t pathLine = expected.size();
    for (int step = 0; step < 2; ++step) {
        expected.push_back("");
        expected.push_back(std::to_string(GameFolder::kRow));
        expected.push_back(std::to_string(GameFolder::kStartCol + 1 + step));
    }
    expected.push_back("FIN");

    const QString report = folder.file(QStringLiteral("bd/ana2_Mon_Mar__3_09_07_02_2008.db1"));
    pressKey(view, Qt::Key_Return);
    ASSERT_TRUE(runUntil(session, [&] { return QFile::exists(report); }));
    bool endsWithNewline = true;
    const std::vector<std::string> lines = readLines(report, &endsWithNewline);
    ASSERT_EQ(lines.size(), expected.size());
    EXPECT_FALSE(endsWithNewline);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i == timeLine || i == pathLine || i == pathLine + 3)
            continue;  // the playing time and the step ticks follow the real clock
        EXPECT_EQ(lines[i], expected[i]) << "report line " << i + 1;
    }
    EXPECT_EQ(lines[timeLine], "0");
    EXPECT_EQ(game->stats.stepCount, 0) << "the level started again";
    EXPECT_EQ(game->player.col, GameFolder::kStartCol);
}

TEST_F(GameWindowTest, MouseButtonsAreFollowedInEveryMode)
{
    ASSERT_TRUE(runUntilFocused(session));
    QTest::mousePress(view, Qt::LeftButton);
    EXPECT_TRUE(session.input().leftButtonDown);
    QTest::mouseRelease(view, Qt::LeftButton);
    EXPECT_FALSE(session.input().leftButtonDown);
    QTest::mousePress(view, Qt::RightButton);
    EXPECT_TRUE(session.input().rightButtonDown);
    QTest::mouseRelease(view, Qt::RightButton);
    EXPECT_FALSE(session.input().rightButtonDown);
    EXPECT_TRUE(session.input().nameEntry);
    EXPECT_EQ(QApplication::focusWidget(), view);
}

TEST_F(GameWindowTest, HeldKeyRepeatsAndStaysDownUntilReallyReleased)
{
    auto send = [this](QEvent::Type type, bool repeat) {
        QKeyEvent event(type, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"), repeat);
        QApplication::sendEvent(view, &event);
    };
    send(QEvent::KeyPress, false);
    for (int i = 0; i < 2; ++i) {
        send(QEvent::KeyRelease, true);
        EXPECT_TRUE(session.input().keys['A']);
        send(QEvent::KeyPress, true);
    }
    EXPECT_STREQ(session.input().playerName, "aaa");
    send(QEvent::KeyRelease, false);
    EXPECT_FALSE(session.input().keys['A']);

    // A held Esc only asks: its repeats never confirm the question.
    for (bool repeat : {false, true, true}) {
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QString(), repeat);
        QApplication::sendEvent(view, &esc);
    }
    EXPECT_TRUE(session.input().quitAsked);
    EXPECT_TRUE(session.runPass());
}

TEST_F(GameWindowTest, EscTwiceEndsTheProgramEvenDuringNameEntry)
{
    ASSERT_TRUE(runUntilFocused(session));
    // One Esc only asks; any other key cancels the question.
    pressKey(view, Qt::Key_Escape);
    EXPECT_TRUE(session.runPass());
    pressKey(view, Qt::Key_A);
    pressKey(view, Qt::Key_Escape);
    EXPECT_TRUE(session.runPass());
    // Pressed and released before any frame ran: the second press still counts.
    pressKey(view, Qt::Key_Escape);
    EXPECT_FALSE(session.runPass());
    EXPECT_FALSE(session.runPass());
    EXPECT_TRUE(session.input().nameEntry);
}

TEST_F(GameWindowTest, AWinLeadsOnToTheNextLevelAndEscTwiceKeepsTheLevelsReport)
{
    const QDir reports(folder.file(QStringLiteral("bd")));
    auto reportCount = [&] { return reports.entryList(QDir::Files).size(); };
    ASSERT_TRUE(
        QFile::copy(folder.file(QStringLiteral("nivel1.quorvane")), folder.file(QStringLiteral("nivel2.quorvane"))));
    pressKey(view, Qt::Key_P);
    pressKey(view, Qt::Key_Return);
    pressKey(view, Qt::Key_Escape);  // the welcome skipped
    while (!game->gameOver)
        ASSERT_TRUE(stepForward());
    ASSERT_TRUE(game->levelWon());

    pressKey(view, Qt::Key_N);
    EXPECT_EQ(game->mapName, "nivel2.quorvane");
    EXPECT_FALSE(game->gameOver);
    EXPECT_EQ(reportCount(), 1) << "the report of level 1";

    ASSERT_TRUE(stepForward());
    ASSERT_TRUE(stepForward());
    clock.calendar_ += 60;  // reports are named after their time
    pressKey(view, Qt::Key_Escape);
    EXPECT_TRUE(session.runPass()) << "one Esc only asks";
    EXPECT_EQ(reportCount(), 1);
    pressKey(view, Qt::Key_Escape);
    EXPECT_FALSE(session.runPass());
    ASSERT_EQ(reportCount(), 2) << "the level left by Esc keeps its report";
    std::vector<std::string> maps;
    for (const QString& name : reports.entryList(QDir::Files, QDir::Name)) {
        bool newline = false;
        const auto lines = readLines(reports.filePath(name), &newline);
        const auto label = std::find(lines.begin(), lines.end(), "Mapa :");
        ASSERT_NE(label, lines.end());
        maps.push_back(*(label + 1));
    }
    EXPECT_EQ(maps, (std::vector<std::string>{"nivel1.quorvane", "nivel2.quorvane"}));
}

TEST_F(GameWindowTest, CloseBoxEndsTheProgram)
{
    ASSERT_TRUE(runUntilFocused(session));
    session.window()->close();
    EXPECT_TRUE(session.window()->isVisible()) << "the loop releases the window itself";
    EXPECT_FALSE(session.runPass());
}

}  // namespace

namespace {

// The start's failures: without the font the program cannot show anything
// and says so; without the default map it says why and goes on.
TEST(GameStart, MissingBitmapsEndTheStartWithItsMessage)
{
    GameFolder folder;
    ASSERT_TRUE(QFile::remove(folder.file(QStringLiteral("Data/Font2.bmp"))));
    QString caption, text;
    whenModal<QMessageBox>([&](QMessageBox* box) {
        caption = box->windowTitle();
        text = box->text();
        box->accept();
    });
    GameSession session(folder.dir());
    EXPECT_FALSE(session.start());
    EXPECT_EQ(caption, QStringLiteral("ERROR"));
    EXPECT_EQ(text, QStringLiteral("El juego no puede empezar: falta Data/Font2.bmp."));
    EXPECT_EQ(session.window(), nullptr);
    EXPECT_EQ(session.game(), nullptr);
}

TEST(GameStart, MissingDefaultMapIsShownAndTheGameGoesOn)
{
    GameFolder folder;
    ASSERT_TRUE(QFile::remove(folder.file(QStringLiteral("nivel1.quorvane"))));
    QString text;
    whenModal<QMessageBox>([&](QMessageBox* box) {
        text = box->text();
        box->accept();
    });
    GameSession session(folder.dir());
    ASSERT_TRUE(session.start());
    EXPECT_TRUE(text.contains(QStringLiteral("nivel1.quorvane"))) << text.toStdString();
    EXPECT_TRUE(runUntilFocused(session));
    QTest::keyClick(session.window()->view(), Qt::Key_Escape);
    QTest::keyClick(session.window()->view(), Qt::Key_Escape);
    EXPECT_FALSE(session.runPass());
}

}  // namespace
