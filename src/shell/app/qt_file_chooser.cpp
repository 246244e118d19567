#include "qt_file_chooser.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "file_chooser.h"
#include "game_view.h"
#include "main_window.h"

QtFileChooser::QtFileChooser(QWidget* owner, const GameDir& gameFolder)
    : owner_(owner), gameFolder_(QDir(QFile::decodeName(gameFolder.root().c_str())).absolutePath())
{
}

QString QtFileChooser::nameFilter(const char* description, const char* pattern)
{
    const QString text = QString::fromUtf8(description);
    const QString glob = QString::fromUtf8(pattern);
    if (text.endsWith(QLatin1Char('(') + glob + QLatin1Char(')')))
        return text;
    if (text.isEmpty())
        return QLatin1Char('(') + glob + QLatin1Char(')');
    return text + QStringLiteral(" (") + glob + QLatin1Char(')');
}

bool QtFileChooser::askOpenFile(const char* title, const char* filterDescription,
                                const char* filterPattern, std::string& chosenName)
{
    return ask(false, title, filterDescription, filterPattern, chosenName);
}

bool QtFileChooser::askSaveFile(const char* title, const char* filterDescription,
                                const char* filterPattern, std::string& chosenName)
{
    return ask(true, title, filterDescription, filterPattern, chosenName);
}

bool QtFileChooser::ask(bool save, const char* title, const char* filterDescription,
                        const char* filterPattern, std::string& chosenName)
{
    // Qt's own dialog rather than the desktop's: its texts follow the
    // Spanish translation loaded at start, it works the same on every
    // desktop, and a screen reader reaches all its controls.
    // Each dialog opens where the last one chose a file: a teacher who keeps
    // the games in a folder of her own finds it again.
    QFileDialog dialog(owner_, QString::fromUtf8(title), folder_.isEmpty() ? gameFolder_ : folder_);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // The file need not exist: the load refuses a missing one with a message.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilter(nameFilter(filterDescription, filterPattern));
    // A name typed without extension gets the one its filter shows.
    dialog.setDefaultSuffix(QString::fromStdString(patternExtension(filterPattern)));
    dialog.setAccessibleName(dialog.windowTitle());

    const bool accepted = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    if (auto* window = qobject_cast<MainWindow*>(owner_))
        window->view()->takeFocus();
    if (!accepted)
        return false;

    const QFileInfo chosen(dialog.selectedFiles().constFirst());
    if (chosen.fileName().isEmpty())
        return false;
    folder_ = chosen.absolutePath();
    // A file in the game folder keeps its bare name (as the reports and the
    // level's title show it); one elsewhere keeps its whole path, so it is
    // saved and read where the player chose it.
    // Compared as the file system resolves them: the folder may be reached
    // through a link.
    const QString there = QDir(chosen.absolutePath()).canonicalPath();
    const bool inGameFolder = !there.isEmpty() && there == QDir(gameFolder_).canonicalPath();
    const QString path = inGameFolder ? chosen.fileName() : chosen.absoluteFilePath();
    chosenName = QFile::encodeName(path).toStdString();
    return true;
}

bool QtFileChooser::confirm(const char* question)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Quorvane"), QString::fromUtf8(question),
                    QMessageBox::Yes | QMessageBox::No, owner_);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    box.setAccessibleName(box.text());
    const bool yes = box.exec() == QMessageBox::Yes;
    if (auto* window = qobject_cast<MainWindow*>(owner_))
        window->view()->takeFocus();
    return yes;
}
