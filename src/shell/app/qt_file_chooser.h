#pragma once
#include <QString>

#include "file_chooser.h"
#include "game_dir.h"

class QWidget;

// The file dialogs of the game, as Qt's own (non-native) file dialog: modal
// over the main window, the caller's title and single filter, default
// extension "txt", starting in the folder of the last file chosen (at first
// the game folder). Hands back the chosen file's bare name when it is in the
// game folder, else its absolute path, in the bytes the file system uses.
class QtFileChooser : public FileChooser {
public:
    QtFileChooser(QWidget* owner, const GameDir& gameFolder);

    bool askOpenFile(const char* title, const char* filterDescription, const char* filterPattern,
                     std::string& chosenName) override;
    bool askSaveFile(const char* title, const char* filterDescription, const char* filterPattern,
                     std::string& chosenName) override;
    // A question box, "No" preselected and taken by Esc.
    bool confirm(const char* question) override;

    // The Qt name filter for a description and pattern: "Mapa (*.quorvane)"
    // stays as it is, a description without the pattern gets it appended.
    static QString nameFilter(const char* description, const char* pattern);

private:
    bool ask(bool save, const char* title, const char* filterDescription, const char* filterPattern,
             std::string& chosenName);

    QWidget* owner_;
    QString gameFolder_;
    QString folder_;
};
