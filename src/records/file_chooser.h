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

// A kept file name: the file's name and extension only, at most 99
// characters, and its terminator.
constexpr int kFileTitleSize = 100;

// Keeps the name a chooser handed back: any folder is dropped, a name without
// an extension gets the dialog's default one (".txt" for saved games,
// ".quorvane" for maps, so that "nivel2" finds nivel2.quorvane), and an empty
// name or one longer than 99 characters is refused with a message, leaving
// kept untouched.
bool keepFileTitle(const std::string& chosen, char (&kept)[kFileTitleSize], std::string* error,
                   const char* defaultExtension = ".txt");

// The extension a filter pattern such as "*.quorvane" stands for, without
// its dot ("quorvane"); empty when the pattern names none.
std::string patternExtension(const char* filterPattern);
