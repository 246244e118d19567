#include "qt_shell_hooks.h"

#include <QApplication>
#include <QCursor>
#include <QMessageBox>
#include <QTimer>

#include "catalogue.h"
#include "game_state.h"
#include "game_view.h"
#include "input_state.h"
#include "keys_window.h"
#include "main_window.h"
#include "options_window.h"
#include "settings_file.h"

namespace {

GameView* gameViewOf(QWidget* owner)
{
    auto* window = qobject_cast<MainWindow*>(owner);
    return window != nullptr ? window->view() : nullptr;
}

}  // namespace

void showMessageBox(QWidget* owner, const QString& caption, const QString& text, bool critical)
{
    QMessageBox box(critical ? QMessageBox::Critical : QMessageBox::Warning, caption, text,
                    QMessageBox::Ok, owner);
    box.setAccessibleName(caption);
    box.setAccessibleDescription(text);
    box.exec();
    if (GameView* view = gameViewOf(owner))
        view->takeFocus();
}

QtShellHooks::QtShellHooks(MainWindow& window, GameState& game, InputState& input, Session& session,
                           SoundSystem& sounds)
    : window_(window), game_(game), session_(session), sounds_(sounds), play_{game, input, session, *this},
      chooser_(&window, game.folder)
{
    tick_.initChannel(catalogue::TeclaIgnorada.file, sounds_);
}

QtShellHooks::~QtShellHooks() { tick_.releaseChannel(); }

void QtShellHooks::keyNotTaken() { tick_.playFile(catalogue::TeclaIgnorada.file, 0, 0, kPlayOnce); }

void QtShellHooks::refocusLater()
{
    // After the dialog has gone: whichever window Qt activates next, the
    // game's keys must reach the game view.
    GameView* view = window_.view();
    QTimer::singleShot(0, view, [view] {
        if (QApplication::activeModalWidget() == nullptr)
            view->takeFocus();
    });
}

bool QtShellHooks::openOptionsDialog()
{
    // Every opening makes a new dialog; the option keys then keep the newest
    // one in step.
    auto* dialog = new OptionsWindow(&window_, play_);
    QObject::connect(dialog, &OptionsWindow::closedByPlayer, [this] { refocusLater(); });
    options_ = dialog;
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return true;
}

bool QtShellHooks::openKeysDialog()
{
    auto* dialog = new KeysWindow(&window_, play_.input);
    QObject::connect(dialog, &KeysWindow::closedByPlayer, [this] { refocusLater(); });
    keys_ = dialog;
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return true;
}

bool QtShellHooks::openTeacherSettings()
{
    // Modal for the application, yet the main loop goes on: the game is
    // answered while the teacher chooses, and only this window takes keys.
    auto* dialog = new TeacherWindow(&window_, game_.settings);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::ApplicationModal);
    QObject::connect(dialog, &QDialog::accepted, [this, dialog] {
        const TeacherSettings chosen = dialog->chosen();
        std::string error;
        if (!writeSettingsFile(kSettingsFile, chosen, &error, game_.folder))
            showError("No se pudieron guardar los ajustes del maestro: " + error +
                      " Valen hasta que se cierre el juego.");
        game_.settings = chosen;
    });
    QObject::connect(dialog, &QDialog::finished, [this] {
        play_.input.dialogOpen = false;
        refocusLater();
    });
    teacher_ = dialog;
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return true;
}

void QtShellHooks::setOptionBox(int boxId, bool checked)
{
    if (options_ != nullptr)
        options_->setBox(boxId, checked);
}

void QtShellHooks::showError(const std::string& text)
{
    showMessageBox(&window_, QStringLiteral("Quorvane"), QString::fromUtf8(text.c_str()), false);
}

int QtShellHooks::cursorX() { return QCursor::pos().x(); }

void QtShellHooks::setCursor(int x, int y) { QCursor::setPos(x, y); }
