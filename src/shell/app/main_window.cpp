#include "main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QTimer>

#include "editor_launch.h"
#include "game_view.h"
#include "input_state.h"

MainWindow::MainWindow(const QString& title)
{
    setWindowTitle(title);
    setAccessibleName(title);
    view_ = new GameView(this);
    setCentralWidget(view_);

    // The menus open with Alt+M and Alt+A: a player who cannot see the
    // pointer must reach them from the keyboard.
    gameMenu_ = menuBar()->addMenu(QStringLiteral("&Menu"));
    gameMenu_->setAccessibleName(QStringLiteral("Menu"));
    addCommand(gameMenu_, QStringLiteral("Cambiar Mapa"), MenuId::ChangeMap);
    addCommand(gameMenu_, QStringLiteral("Guardar Juego"), MenuId::SaveGame);
    addCommand(gameMenu_, QStringLiteral("Opciones"), MenuId::Options);
    addCommand(gameMenu_, QStringLiteral("CargarJuego"), MenuId::LoadGame);
    addCommand(gameMenu_, QStringLiteral("Ajustes del maestro"), MenuId::TeacherSettings);
    // The teacher's map editor, a program of its own: the game goes on.
    connect(gameMenu_->addAction(QStringLiteral("Editor de mapas")), &QAction::triggered, this,
            [this] { startMapEditor(this); });
    addCommand(gameMenu_, QStringLiteral("Salir                  (Esc)"), MenuId::Quit);
    helpMenu_ = menuBar()->addMenu(QStringLiteral("&Ayuda!"));
    helpMenu_->setAccessibleName(QStringLiteral("Ayuda!"));
    addCommand(helpMenu_, QStringLiteral("Teclas"), MenuId::Keys);

    // A closed menu leaves the keys with the game view. Only the focus
    // within this window moves: a dialog the command opened keeps the
    // activation it took.
    for (QMenu* menu : {gameMenu_, helpMenu_}) {
        connect(menu, &QMenu::aboutToHide, this, [this] {
            QTimer::singleShot(0, view_, [this] {
                if (QApplication::activeModalWidget() == nullptr)
                    view_->setFocus(Qt::OtherFocusReason);
            });
        });
    }
}

void MainWindow::addCommand(QMenu* menu, const QString& text, int id)
{
    QAction* action = menu->addAction(text);
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] {
        if (onMenu_)
            onMenu_(id);
    });
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // The close box ends the program the way "Salir" does: the main loop
    // finishes its pass and then releases the window.
    if (closeAllowed_) {
        event->accept();
        return;
    }
    event->ignore();
    if (onClose_)
        onClose_();
}
