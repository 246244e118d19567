#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <sys/stat.h>

#include "game_folder.h"
#include "game_state.h"
#include "game_view.h"
#include "input_state.h"
#include "key_input.h"
#include "main_window.h"
#include "modal_helper.h"
#include "qt_file_chooser.h"
#include "qt_shell_hooks.h"
#include "session_driver.h"

namespace {

// Types a name into the file dialog's name field and confirms it, noting
// what the dialog showed.
struct DialogSeen {
    QString title;
    QStringList filters;
    QString suffix;
    QString okText;
};

void typeName(const QString& name, DialogSeen* seen = nullptr, const QString& browseTo = {})
{
    whenModal<QFileDialog>([name, seen, browseTo](QFileDialog* dialog) {
        if (!browseTo.isEmpty())
            dialog->setDirectory(browseTo);
        if (seen != nullptr)
            *seen = {dialog->windowTitle(), dialog->nameFilters(), dialog->defaultSuffix(), {}};
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(edit, nullptr);
        if (seen != nullptr)
            for (QPushButton* button : dialog->findChildren<QPushButton*>())
                if (button->isDefault())
                    seen->okText = button->text();
        edit->setFocus();
        QTest::keyClicks(edit, name);
        // Typing a path opens the name completer's list; Esc closes it as
        // a player would before confirming with Enter.
        if (QWidget* popup = QApplication::activePopupWidget())
            QTest::keyClick(popup, Qt::Key_Escape);
        QTest::keyClick(edit, Qt::Key_Return);
        // A dialog that did not take the name fails the test, not hangs it.
        QPointer<QFileDialog> still(dialog);
        QTimer::singleShot(3000, [still] {
            if (still != nullptr && still->isVisible())
                still->reject();
        });
    });
}

void cancelDialog()
{
    whenModal<QFileDialog>([](QFileDialog* dialog) {
        QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog, Qt::Key_Escape);
    });
}

class FileDialogTest : public testing::Test {
protected:
    GameFolder folder;
    QtFileChooser chooser{nullptr, folder.dir()};
    const QString started = QDir::currentPath();
};

TEST_F(FileDialogTest, OpenDialogShowsTitleFilterAndHandsBackTheTypedName)
{
    DialogSeen seen;
    typeName(QStringLiteral("partida"), &seen);
    std::string chosen;
    ASSERT_TRUE(chooser.askOpenFile("Cargar Juego", "Juego (*.txt)", "*.txt", chosen));
    EXPECT_EQ(chosen, "partida.txt") << "the default extension";
    EXPECT_EQ(seen.title, QStringLiteral("Cargar Juego"));
    EXPECT_EQ(seen.filters, QStringList{QStringLiteral("Juego (*.txt)")});
    EXPECT_EQ(seen.suffix, QStringLiteral("txt"));
    EXPECT_EQ(seen.okText, QStringLiteral("&Abrir")) << "Qt's own texts in Spanish";
    EXPECT_EQ(QDir::currentPath(), started);
}

TEST_F(FileDialogTest, AFileInAnotherFolderKeepsItsPathAndTheWorkingFolderStays)
{
    QDir(folder.path()).mkdir(QStringLiteral("otra"));
    const QString other = folder.path() + QStringLiteral("/otra");
    QFile(other + QStringLiteral("/mapa2.quorvane")).open(QIODevice::WriteOnly);
    // Typed without extension: the map dialog's default is its own.
    DialogSeen seen;
    typeName(QStringLiteral("mapa2"), &seen, other);
    std::string chosen;
    ASSERT_TRUE(chooser.askOpenFile("Cambiar Mapa", "Mapa (*.quorvane)", "*.quorvane", chosen));
    EXPECT_EQ(chosen, QFile::encodeName(other + QStringLiteral("/mapa2.quorvane")).toStdString());
    EXPECT_EQ(seen.suffix, QStringLiteral("quorvane"));
    EXPECT_EQ(QDir::currentPath(), started);
}

TEST_F(FileDialogTest, CancelLeavesTheNameUntouched)
{
    cancelDialog();
    std::string chosen = "antes";
    EXPECT_FALSE(chooser.askSaveFile("Guardar Juego", "(*.txt)", "*.txt", chosen));
    EXPECT_EQ(chosen, "antes");
}

TEST_F(FileDialogTest, SaveDialogFilterWithoutDescription)
{
    DialogSeen seen;
    typeName(QStringLiteral("nueva.txt"), &seen);
    std::string chosen;
    ASSERT_TRUE(chooser.askSaveFile("Guardar Juego", "(*.txt)", "*.txt", chosen));
    EXPECT_EQ(chosen, "nueva.txt");
    EXPECT_EQ(seen.filters, QStringList{QStringLiteral("(*.txt)")});
    EXPECT_EQ(seen.okText, QStringLiteral("&Guardar"));
}

// The menu commands through the real dialogs: save, load and replay, change
// of map, and a map that cannot be read.
class MenuFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.ok());
        ASSERT_TRUE(session.start());
        QTest::keyClick(session.window()->view(), Qt::Key_Return);
        ASSERT_TRUE(runUntil(session, [&] { return !session.input().nameEntry; }));
        QTest::keyClick(session.window()->view(), Qt::Key_Escape);  // the welcome skipped
    }
    GameFolder folder;
    GameSession session{folder.dir()};
};

TEST_F(MenuFileTest, SavedGameIsWrittenThenLoadedAndReplayed)
{
    GameView* view = session.window()->view();
    for (int32_t steps = 1; steps <= 2; ++steps) {
        QTest::keyClick(view, Qt::Key_Space);
        ASSERT_TRUE(runUntil(session, [&] { return session.game()->stats.stepCount == steps; }));
    }

    typeName(QStringLiteral("partida"));
    EXPECT_TRUE(menuCommand(MenuId::SaveGame, session.hooks()->play()));
    QFile saved(folder.file(QStringLiteral("partida.txt")));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().endsWith("FIN"));

    typeName(QStringLiteral("partida.txt"));
    EXPECT_TRUE(menuCommand(MenuId::LoadGame, session.hooks()->play()));
    EXPECT_TRUE(session.session().replay.replaying);
    EXPECT_EQ(session.game()->player.col, GameFolder::kStartCol);
    // The replay walks the corridor on its own and then ends. (Its last
    // entry fires with no wait after the one before, so the two steps may
    // merge into one request: the replay's own timing, tested with it.)
    EXPECT_TRUE(runUntil(session, [&] {
        return !session.session().replay.replaying && !session.input().advanceRequested;
    }));
    EXPECT_GT(session.game()->player.col, GameFolder::kStartCol);
    EXPECT_EQ(session.game()->player.row, GameFolder::kRow);
}

TEST_F(MenuFileTest, AGameSavedElsewhereIsLoadedFromThereAndAMapIsReplacedOnlyOnYes)
{
    QDir(folder.path()).mkdir(QStringLiteral("otra"));
    const QString other = folder.path() + QStringLiteral("/otra");
    typeName(QStringLiteral("partida"), nullptr, other);
    EXPECT_TRUE(menuCommand(MenuId::SaveGame, session.hooks()->play()));
    EXPECT_TRUE(QFile::exists(other + QStringLiteral("/partida.txt")));
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("partida.txt"))));

    // The load dialog opens where the save chose its file.
    typeName(QStringLiteral("partida.txt"));
    EXPECT_TRUE(menuCommand(MenuId::LoadGame, session.hooks()->play()));
    EXPECT_TRUE(session.session().replay.replaying);
    EXPECT_EQ(session.game()->playedFrom, QFile::encodeName(other + QStringLiteral("/partida.txt")).toStdString());

    // Over the first map: the question comes up with "No" ready (Enter keeps
    // the map), "Sí" replaces it.
    ASSERT_TRUE(runUntil(session, [&] { return !session.session().replay.replaying; }));
    for (const bool yes : {false, true}) {
        typeName(QStringLiteral("nivel1.quorvane"), nullptr, folder.path());
        whenModal<QMessageBox>([yes](QMessageBox* box) {
            EXPECT_TRUE(box->text().contains(QStringLiteral("es un mapa"))) << box->text().toStdString();
            if (yes)
                box->button(QMessageBox::Yes)->click();
            else
                QTest::keyClick(box, Qt::Key_Return);
        });
        EXPECT_TRUE(menuCommand(MenuId::SaveGame, session.hooks()->play()));
        QFile map(folder.file(QStringLiteral("nivel1.quorvane")));
        ASSERT_TRUE(map.open(QIODevice::ReadOnly));
        EXPECT_EQ(map.readAll().endsWith("FIN"), yes);
    }
}

TEST_F(MenuFileTest, ChangeMapLoadsTheChosenMapAndAnUnreadableOneIsShown)
{
    ASSERT_TRUE(
        QFile::copy(folder.file(QStringLiteral("nivel1.quorvane")), folder.file(QStringLiteral("otro.quorvane"))));
    typeName(QStringLiteral("otro.quorvane"));
    EXPECT_TRUE(menuCommand(MenuId::ChangeMap, session.hooks()->play()));
    EXPECT_EQ(session.game()->mapName, "otro.quorvane");

    QString shown;
    typeName(QStringLiteral("nada.quorvane"));
    whenModal<QMessageBox>([&shown](QMessageBox* box) {
        shown = box->text();
        box->accept();
    });
    EXPECT_TRUE(menuCommand(MenuId::ChangeMap, session.hooks()->play()));
    EXPECT_TRUE(shown.contains(QStringLiteral("nada.quorvane"))) << shown.toStdString();
    EXPECT_EQ(session.game()->mapName, "otro.quorvane") << "the level in play goes on";
    EXPECT_TRUE(runUntilFocused(session));
}

TEST_F(MenuFileTest, AFifoChosenAsMapOrSavedGameIsRefusedAndTheGameStepsOn)
{
    // A plain open of a FIFO with no writer would wait for ever.
    for (const char* fifo : {"tubo.quorvane", "tubo.txt"})
        ASSERT_EQ(::mkfifo(QFile::encodeName(folder.file(QString::fromLatin1(fifo))).constData(), 0600), 0);
    const std::pair<int, const char*> cases[] = {{MenuId::ChangeMap, "tubo.quorvane"},
                                                 {MenuId::LoadGame, "tubo.txt"}};
    GameView* view = session.window()->view();
    int32_t steps = 0;
    for (const auto& [command, name] : cases) {
        SCOPED_TRACE(name);
        QString shown;
        typeName(QString::fromLatin1(name));
        whenModal<QMessageBox>([&shown](QMessageBox* box) {
            shown = box->text();
            box->accept();
        });
        EXPECT_TRUE(menuCommand(command, session.hooks()->play()));
        EXPECT_TRUE(shown.contains(QString::fromLatin1(name)) && shown.contains(QStringLiteral("tubería (FIFO)")))
            << shown.toStdString();
        EXPECT_EQ(session.game()->mapName, "nivel1.quorvane");
        // A refused load still ends its (empty) replay at the next frame.
        ASSERT_TRUE(runUntil(session, [&] { return !session.session().replay.replaying; }));
        ASSERT_TRUE(runUntilFocused(session));
        QTest::keyClick(view, Qt::Key_Space);
        ++steps;
        EXPECT_TRUE(runUntil(session, [&] { return session.game()->stats.stepCount == steps; }));
    }
}

TEST(GameStart, WhatCannotBeReadIsNamedAndNothingHangs)
{
    struct Case {
        const char* what;
        const char* file;
        bool fifo;           // else the file is removed
        bool starts;         // a game without its font cannot start
        const char* shown;   // what one of the boxes says; null: no box comes up
    } cases[] = {
        {"the first map a FIFO", "nivel1.quorvane", true, true, "nivel1.quorvane\": no se pudo abrir: es una tubería"},
        {"the font a FIFO", "Data/Font2.bmp", true, false, "Data/Font2.bmp: es una tubería (FIFO)"},
        {"a letter's sound missing", "SonidosLetras/n.wav", false, true, "SonidosLetras/n.wav: no existe"},
        {"the level start's empty file a FIFO", "UltimoJuego.txt", true, true, nullptr},
        {"the speech table missing", "speech.tsv", false, true, "speech.tsv: no existe"},
        {"the speech table a FIFO", "speech.tsv", true, true, "speech.tsv: es una tubería (FIFO)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GameFolder folder;
        ASSERT_TRUE(folder.ok());
        const QString file = folder.file(QString::fromLatin1(c.file));
        QFile::remove(file);
        ASSERT_FALSE(QFile::exists(file));
        if (c.fifo) {
            ASSERT_EQ(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        }
        BoxCloser boxes;
        GameSession session(folder.dir());
        EXPECT_EQ(session.start(), c.starts);
        EXPECT_TRUE(c.shown ? boxes.all().contains(QString::fromUtf8(c.shown)) : boxes.texts.isEmpty())
            << boxes.all().toStdString();
        if (c.starts) {
            // The game plays on: the name, then a step (into a wall on the
            // empty grid a refused first map leaves).
            GameView* view = session.window()->view();
            ASSERT_TRUE(runUntilFocused(session));
            QTest::keyClick(view, Qt::Key_Return);
            EXPECT_TRUE(runUntil(session, [&] { return !session.input().nameEntry; }));
            QTest::keyClick(view, Qt::Key_Escape);  // the welcome skipped
            QTest::keyClick(view, Qt::Key_Space);
            EXPECT_TRUE(runUntil(session, [&] { return session.game()->stats.stepCount + session.game()->stats.wallBumps == 1; }));
        }
        // Read past or refused, a FIFO is left as it was.
        struct stat info {};
        EXPECT_TRUE(!c.fifo || (::stat(QFile::encodeName(file).constData(), &info) == 0 && S_ISFIFO(info.st_mode)));
    }
}

}  // namespace
