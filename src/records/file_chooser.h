#pragma once
#include <string>

// The file dialogs, as the records layer sees them. The shell implements this
// with the desktop's dialogs; tests answer with a fixed name or a cancel.
// A chooser hands back the chosen file as the game names it: the bare name
// for a file in the game folder, else its whole path, so a file chosen
// elsewhere is written and read there.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    virtual bool askOpenFile(const char* title, const char* filterDescription,
                             const char* filterPattern, std::string& chosenName) = 0;
    virtual bool askSaveFile(const char* title, const char* filterDescription,
                             const char* filterPattern, std::string& chosenName) = 0;
    // Asks a yes/no question (Spanish, ending in "?"), "No" preselected; true
    // only for an explicit yes. A chooser that cannot ask answers no, so
    // nothing is replaced unasked.
    virtual bool confirm(const char* question)
    {
        (void)question;
        return false;
    }
};

// The longest file name (its last part) kept, and the longest whole path.
constexpr size_t kMaxFileTitle = 99;
constexpr size_t kMaxFilePath = 4095;

// Keeps the path a chooser handed back: its folder stays, a name without an
// extension gets the dialog's default one (".txt" for saved games,
// ".quorvane" for maps, so that "nivel2" finds nivel2.quorvane), and an empty
// name (or a folder alone), a name longer than 99 characters or a path longer
// than 4095 is refused with a message, leaving kept untouched.
bool keepChosenFile(const std::string& chosen, std::string& kept, std::string* error,
                    const char* defaultExtension = ".txt");

// The extension a filter pattern such as "*.quorvane" stands for, without
// its dot ("quorvane"); empty when the pattern names none.
std::string patternExtension(const char* filterPattern);
