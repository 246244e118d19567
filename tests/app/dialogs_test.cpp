#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "game_folder.h"
#include "game_state.h"
#include "game_view.h"
#include "input_state.h"
#include "keys_window.h"
#include "main_window.h"
#include "options_window.h"
#include "qt_shell_hooks.h"
#include "session_driver.h"
#include "settings_file.h"
#include "teacher_window.h"

namespace {

// Keys go where the keyboard focus is, as a player's would.
void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* target = QApplication::focusWidget();
    if (QWidget* popup = QApplication::activePopupWidget())
        target = popup;
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, key, modifiers);
}

QString focusedText()
{
    QWidget* focus = QApplication::focusWidget();
    return focus != nullptr ? focus->accessibleName() : QString();
}

class DialogsTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.ok());
        ASSERT_TRUE(session.start());
        view = session.window()->view();
        game = session.game();
        QTest::keyClick(view, Qt::Key_Return);
        ASSERT_TRUE(runUntil(session, [&] { return !session.input().nameEntry; }));
        QTest::keyClick(view, Qt::Key_Escape);  // the welcome skipped
    }

    // Opens a menu with Alt and its letter and picks the item by arrows, then
    // runs the loop until the menu has closed and `settled` holds (what the
    // item's command brings about).
    void chooseFromMenu(Qt::Key menuKey, const QString& item, const std::function<bool()>& settled = [] { return true; })
    {
        view->takeFocus();
        ASSERT_TRUE(runUntilFocused(session));
        QTest::keyClick(session.window(), menuKey, Qt::AltModifier);
        runUntil(session, [] { return QApplication::activePopupWidget() != nullptr; });
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr) << "the menu did not open from the keyboard";
        for (int i = 0; i < 8 && (menu->activeAction() == nullptr || menu->activeAction()->text() != item); ++i)
            press(Qt::Key_Down);
        ASSERT_NE(menu->activeAction(), nullptr);
        ASSERT_EQ(menu->activeAction()->text(), item);
        press(Qt::Key_Return);
        ASSERT_TRUE(runUntil(session, [&] { return QApplication::activePopupWidget() == nullptr && settled(); }));
    }

    // True once `window` is up and has the keyboard.
    static bool activeWindowIs(QWidget* window)
    {
        return window != nullptr && QApplication::activeWindow() == window;
    }

    GameFolder folder;
    GameSession session{folder.dir()};
    GameView* view = nullptr;
    GameState* game = nullptr;
};

TEST_F(DialogsTest, OptionsDialogIsWorkedFromTheKeyboardAlone)
{
    chooseFromMenu(Qt::Key_M, QStringLiteral("Opciones"),
                   [this] { return activeWindowIs(session.hooks()->optionsWindow()); });
    OptionsWindow* options = session.hooks()->optionsWindow();
    ASSERT_NE(options, nullptr);
    EXPECT_TRUE(session.input().dialogOpen);
    EXPECT_EQ(QApplication::activeWindow(), options) << "the keys go to the dialog just opened";
    EXPECT_EQ(focusedText(), QStringLiteral("Balas infinitas"));

    // The boxes from top to bottom, each applied as soon as it is toggled.
    press(Qt::Key_Space);
    EXPECT_TRUE(game->options.infiniteBullets);
    press(Qt::Key_Tab);
    EXPECT_EQ(focusedText(), QStringLiteral("Música de fondo"));
    press(Qt::Key_Tab);
    EXPECT_EQ(focusedText(), QStringLiteral("Mostrar Mapa"));
    press(Qt::Key_Space);
    EXPECT_TRUE(game->options.showMap);
    press(Qt::Key_Tab);
    EXPECT_EQ(focusedText(), QStringLiteral("Activar Mouse"));
    press(Qt::Key_Space);
    EXPECT_TRUE(game->options.mouseEnabled);
    EXPECT_FALSE(game->options.mouseActive) << "steering waits for a button";

    // "Opciones" again from the menu does nothing while one is open.
    chooseFromMenu(Qt::Key_M, QStringLiteral("Opciones"));
    EXPECT_EQ(session.hooks()->optionsWindow(), options);

    // Esc is "Continuar": steering follows the box, the game has the keys.
    QTest::keyClick(options, Qt::Key_Escape);
    EXPECT_TRUE(runUntil(session, [this] { return session.hooks()->optionsWindow() == nullptr; }));
    EXPECT_TRUE(runUntilFocused(session));
    EXPECT_FALSE(session.input().dialogOpen);
    EXPECT_TRUE(game->options.mouseActive);
    game->options.mouseEnabled = game->options.mouseActive = false;
}

TEST_F(DialogsTest, F1OptionsEnterContinuesSpaceOnEmpezarStartsAgainAndOptionKeysKeepTheBoxesInStep)
{
    QTest::keyClick(view, Qt::Key_Space);
    ASSERT_TRUE(runUntil(session, [this] { return game->stats.stepCount == 1; }));

    QTest::keyClick(view, Qt::Key_F1);
    runUntil(session, [this] { return activeWindowIs(session.hooks()->optionsWindow()); });
    OptionsWindow* options = session.hooks()->optionsWindow();
    ASSERT_NE(options, nullptr);
    EXPECT_FALSE(session.input().dialogOpen) << "F1 does not mark the menu's dialog";

    // An option key in the game window ticks the open dialog's box.
    view->takeFocus();
    session.input().lastOptionKeyTime = -1.0f;
    QTest::keyClick(view, Qt::Key_E);
    EXPECT_TRUE(game->options.showMap);
    EXPECT_TRUE(options->box(OptionBox::ShowMap));

    // Enter is "Continuar", from a box and from "Empezar" itself: "Empezar"
    // restarts without the report Enter writes in the game. Space on
    // "Empezar" starts the level again with the options chosen.
    const struct {
        const char* focus;
        Qt::Key key;
        int32_t stepsAfter;
    } presses[] = {{"Balas infinitas", Qt::Key_Return, 1}, {"Empezar", Qt::Key_Return, 1}, {"Empezar", Qt::Key_Space, 0}};
    for (const auto& p : presses) {
        SCOPED_TRACE(std::string(p.focus) + (p.key == Qt::Key_Return ? " Enter" : " Space"));
        if (session.hooks()->optionsWindow() == nullptr) {
            QTest::keyClick(view, Qt::Key_F1);
            runUntil(session, [this] { return activeWindowIs(session.hooks()->optionsWindow()); });
        }
        options = session.hooks()->optionsWindow();
        ASSERT_NE(options, nullptr);
        options->activateWindow();
        for (QWidget* w : options->findChildren<QWidget*>())
            if (w->accessibleName() == QString::fromLatin1(p.focus))
                w->setFocus();
        ASSERT_EQ(focusedText(), QString::fromLatin1(p.focus));
        press(p.key);
        EXPECT_TRUE(runUntil(session, [this] { return session.hooks()->optionsWindow() == nullptr; }));
        EXPECT_TRUE(runUntilFocused(session));
        EXPECT_EQ(game->stats.stepCount, p.stepsAfter);
        EXPECT_TRUE(game->options.showMap);
    }
}

TEST_F(DialogsTest, TeachersSettingsAreWorkedFromTheKeyboardKeptInTheFolderAndInForceAtTheNextLevel)
{
    const auto openSettings = [this] {
        chooseFromMenu(Qt::Key_M, QStringLiteral("Ajustes del maestro"),
                       [this] { return activeWindowIs(session.hooks()->teacherWindow()); });
        ASSERT_NE(session.hooks()->teacherWindow(), nullptr);
        EXPECT_TRUE(session.input().dialogOpen);
    };
    const auto closed = [this] {
        return session.hooks()->teacherWindow() == nullptr && !session.input().dialogOpen;
    };
    openSettings();
    press(Qt::Key_Down);
    press(Qt::Key_Escape);  // cancels
    ASSERT_TRUE(runUntil(session, closed));
    EXPECT_EQ(game->settings, TeacherSettings{});
    EXPECT_FALSE(QFile::exists(folder.file(QString::fromLatin1(kSettingsFile))));

    // Down arrows choose, Tab moves on, Space toggles, Enter accepts: kept in
    // the folder, waiting for the next level.
    openSettings();
    const std::pair<const char*, std::vector<Qt::Key>> controls[] = {
        {"Velocidad de la voz", {Qt::Key_Down, Qt::Key_Tab}},
        {"Las criaturas cambian de lado cada", {Qt::Key_Down, Qt::Key_Down, Qt::Key_Tab}},
        {"Trampas", {Qt::Key_Space, Qt::Key_Return}}};
    for (const auto& [name, keys] : controls) {
        EXPECT_EQ(focusedText(), QString::fromLatin1(name));
        for (Qt::Key key : keys)
            press(key);
    }
    ASSERT_TRUE(runUntil(session, closed));
    EXPECT_TRUE(runUntilFocused(session));
    EXPECT_EQ(game->settings, (TeacherSettings{true, 8, false}));
    EXPECT_EQ(readSettingsFile(kSettingsFile, folder.dir()), game->settings);
    EXPECT_EQ(game->levelSettings, TeacherSettings{});
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_TRUE(runUntil(session, [this] { return game->levelSettings == game->settings; }));
}

TEST_F(DialogsTest, CloseBoxKeepsSteeringAsItWas)
{
    chooseFromMenu(Qt::Key_M, QStringLiteral("Opciones"),
                   [this] { return activeWindowIs(session.hooks()->optionsWindow()); });
    OptionsWindow* options = session.hooks()->optionsWindow();
    ASSERT_NE(options, nullptr);
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    press(Qt::Key_Space);
    ASSERT_TRUE(game->options.mouseEnabled);
    options->close();
    runUntil(session, [&] { return !session.input().dialogOpen; });
    EXPECT_FALSE(session.input().dialogOpen);
    EXPECT_FALSE(game->options.mouseActive);
    EXPECT_TRUE(game->options.mouseEnabled);
    game->options.mouseEnabled = false;
}

TEST_F(DialogsTest, KeysHelpShowsBothGroupsLineByLineAndClosesWithEsc)
{
    chooseFromMenu(Qt::Key_A, QStringLiteral("Teclas"),
                   [this] { return activeWindowIs(session.hooks()->keysWindow()); });
    KeysWindow* keys = session.hooks()->keysWindow();
    ASSERT_NE(keys, nullptr);
    EXPECT_TRUE(session.input().dialogOpen);

    QStringList groups;
    for (QGroupBox* group : keys->findChildren<QGroupBox*>())
        groups << group->title();
    EXPECT_EQ(groups, QStringList({"Teclas para jugar", "Teclas opciones"}));

    // Tab walks through every line; a screen reader reads its name.
    QStringList read;
    keys->activateWindow();
    keys->findChild<QLabel*>()->setFocus();
    for (int i = 0; i < 13; ++i) {
        read << focusedText();
        press(Qt::Key_Tab);
    }
    EXPECT_EQ(read.first(), QStringLiteral("Acción a la izquierda                           H  "));
    EXPECT_TRUE(read.contains(
        QStringLiteral("Avanzar                                               Barra Espaceadora  ")));
    EXPECT_TRUE(read.contains(QStringLiteral("Oír otra vez lo último que se dijo                 O")));
    EXPECT_EQ(read.last(), QStringLiteral("Activar/Desactivar mouse                   R  "));
    EXPECT_EQ(read.removeDuplicates(), 0);

    // With the keys help open the menu opens no options dialog.
    chooseFromMenu(Qt::Key_M, QStringLiteral("Opciones"));
    EXPECT_EQ(session.hooks()->optionsWindow(), nullptr);

    QTest::keyClick(keys, Qt::Key_Escape);
    EXPECT_TRUE(runUntil(session, [this] { return session.hooks()->keysWindow() == nullptr; }));
    EXPECT_TRUE(runUntilFocused(session));
    EXPECT_FALSE(session.input().dialogOpen);
}

TEST_F(DialogsTest, SalirFromTheMenuEndsTheProgram)
{
    chooseFromMenu(Qt::Key_M, QStringLiteral("Salir                  (Esc)"));
    EXPECT_FALSE(session.runPass());
}

}  // namespace
