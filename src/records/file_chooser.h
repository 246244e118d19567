#pragma once
#include <string>

// The file dialogs, as the records layer sees them. The shell implements this
// with the desktop's dialogs; tests answer with a fixed name or a cancel.
// A chooser hands back the chosen file's name without its folder.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    virtual bool askOpenFile(const char* title, const char* filterDescription,
                             const char* filterPattern, std::string& chosenName) = 0;
    virtual bool askSaveFile(const char* title, const char* filterDescription,
                             const char* filterPattern, std::string& chosenName) = 0;
};
