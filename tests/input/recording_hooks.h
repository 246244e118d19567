#pragma once
#include <string>
#include <utility>
#include <vector>

#include "file_chooser.h"
#include "shell_hooks.h"

class SoundSystem;

// A file chooser that answers every dialog with one fixed name, or cancels.
class FixedChooser : public FileChooser {
public:
    std::string answer;  // empty: the dialog is cancelled
    int asked = 0;
    bool askOpenFile(const char*, const char*, const char*, std::string& chosenName) override;
    bool askSaveFile(const char*, const char*, const char*, std::string& chosenName) override;
};

// Shell hooks that write down what the key and menu logic asked of the window.
class RecordingHooks : public ShellHooks {
public:
    explicit RecordingHooks(SoundSystem& sounds) : soundSystem(sounds) {}

    bool openOptionsDialog() override;
    bool openKeysDialog() override;
    void setOptionBox(int boxId, bool checked) override;
    void quit() override { ++quits; }
    void showError(const std::string& text) override { errors.push_back(text); }
    FileChooser& fileChooser() override { return chooser; }
    SoundSystem& sounds() override { return soundSystem; }
    void keyNotTaken() override { ++ticks; }
    int cursorX() override { return pointerX; }
    void setCursor(int x, int y) override;

    SoundSystem& soundSystem;
    FixedChooser chooser;
    bool dialogsCanOpen = true;
    int optionsOpened = 0;
    int keysOpened = 0;
    int quits = 0;
    int ticks = 0;
    std::vector<std::pair<int, bool>> boxes;
    std::vector<std::string> errors;
    int pointerX = 600;
    std::vector<std::pair<int, int>> cursorMoves;
};
