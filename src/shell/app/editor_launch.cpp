#include "editor_launch.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "qt_shell_hooks.h"

void startMapEditor(QWidget* owner)
{
    QString editor = QCoreApplication::applicationDirPath() + QStringLiteral("/quorvane-editor");
    if (!QFileInfo(editor).isExecutable())
        editor = QStandardPaths::findExecutable(QStringLiteral("quorvane-editor"));
    // Started in the folder the game plays in, the editor opens its dialogs
    // there.
    if (editor.isEmpty() || !QProcess::startDetached(editor, {}, QDir::currentPath()))
        showMessageBox(owner, QStringLiteral("Quorvane"),
                       QStringLiteral("No se encontró el editor de mapas (quorvane-editor)."), false);
}
