#pragma once
#include <QPointer>

#include "keys_window.h"
#include "play.h"
#include "options_window.h"
#include "qt_file_chooser.h"
#include "shell_hooks.h"
#include "teacher_window.h"
#include "sound.h"

class GameState;
class MainWindow;
struct InputState;
struct Session;

// What the key and menu logic asks of the window side, done with Qt: the two
// dialogs, message boxes, the pointer, the file dialogs and the end of the
// program. The keyboard focus goes back to the game view whenever one of
// these windows closes.
class QtShellHooks : public ShellHooks {
public:
    QtShellHooks(MainWindow& window, GameState& game, InputState& input, Session& session, SoundSystem& sounds);
    ~QtShellHooks() override;
    QtShellHooks(const QtShellHooks&) = delete;
    QtShellHooks& operator=(const QtShellHooks&) = delete;

    bool openOptionsDialog() override;
    bool openKeysDialog() override;
    bool openTeacherSettings() override;
    void setOptionBox(int boxId, bool checked) override;
    void quit() override { quitRequested_ = true; }
    void showError(const std::string& text) override;
    FileChooser& fileChooser() override { return chooser_; }
    SoundSystem& sounds() override { return sounds_; }
    void keyNotTaken() override;
    int cursorX() override;
    void setCursor(int x, int y) override;

    bool quitRequested() const { return quitRequested_; }
    // The game, its input state and session, with these hooks.
    Play& play() { return play_; }
    // The options dialog last opened, while it is open (null otherwise).
    OptionsWindow* optionsWindow() const { return options_; }
    KeysWindow* keysWindow() const { return keys_; }
    TeacherWindow* teacherWindow() const { return teacher_; }

private:
    void refocusLater();

    MainWindow& window_;
    GameState& game_;
    Session& session_;
    SoundSystem& sounds_;
    Play play_;
    QtFileChooser chooser_;
    // The tick of a key not taken, on a voice of its own: it must cut
    // nothing the game is playing.
    SoundChannel tick_;
    QPointer<OptionsWindow> options_;
    QPointer<KeysWindow> keys_;
    QPointer<TeacherWindow> teacher_;
    bool quitRequested_ = false;
};

// A message box over the main window (or none), after which the game view
// has the keyboard focus again.
void showMessageBox(QWidget* owner, const QString& caption, const QString& text, bool critical);
