#pragma once
#include <string>

class FileChooser;
class SoundSystem;

// What the key and menu logic needs from the windowing side. The Qt shell
// implements it; tests record the calls.
class ShellHooks {
public:
    virtual ~ShellHooks() = default;
    // Options dialog: open one (F1 or the menu); false when none was made.
    virtual bool openOptionsDialog() = 0;
    virtual bool openKeysDialog() = 0;
    // "Ajustes del maestro": opens the window; what it accepts is kept in the
    // game folder and put in force at the next level start.
    virtual bool openTeacherSettings() { return false; }
    // Sets a check box of the options dialog last opened, if there is one.
    virtual void setOptionBox(int boxId, bool checked) = 0;
    virtual void quit() = 0;
    // Tells the player (or the teacher) something went wrong with a file.
    virtual void showError(const std::string& text) = 0;
    virtual FileChooser& fileChooser() = 0;
    // The sound system the channels were opened on (a load opens them again).
    virtual SoundSystem& sounds() = 0;
    // A soft tick: the key or click just made was not taken.
    virtual void keyNotTaken() = 0;
    // Screen position of the pointer, and moving it (mouse steering).
    virtual int cursorX() = 0;
    virtual void setCursor(int x, int y) = 0;
};
