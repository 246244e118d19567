#pragma once
#include <QString>

#include "file_chooser.h"

class QWidget;

// The file dialogs of the game, as Qt's own (non-native) file dialog: modal
// over the main window, the caller's title and single filter, default
// extension "txt", starting in the working directory and leaving it where it
// is. Hands back the chosen file's name without its folder, in the bytes the
// file system uses.
class QtFileChooser : public FileChooser {
public:
    explicit QtFileChooser(QWidget* owner) : owner_(owner) {}

    bool askOpenFile(const char* title, const char* filterDescription, const char* filterPattern,
                     std::string& chosenName) override;
    bool askSaveFile(const char* title, const char* filterDescription, const char* filterPattern,
                     std::string& chosenName) override;

    // The Qt name filter for a description and pattern: "Mapa (*.quorvane)"
    // stays as it is, a description without the pattern gets it appended.
    static QString nameFilter(const char* description, const char* pattern);

private:
    bool ask(bool save, const char* title, const char* filterDescription, const char* filterPattern,
             std::string& chosenName);

    QWidget* owner_;
};
