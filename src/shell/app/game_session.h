#pragma once
#include <QElapsedTimer>
#include <QString>
#include <memory>
#include <string>

#include "frame_pacer.h"
#include "game_dir.h"
#include "input_state.h"
#include "scene_key.h"
#include "session.h"

class GameState;
class MainWindow;
class OpenAlSound;
class VoiceArbiter;
class QtShellHooks;
class SoundSystem;
class SpokenLog;

// The running program: the main window and its rendering context, the one
// game record with its input state, the sound system and the main loop. main() makes one and
// calls run(); tests and the benchmark drive it pass by pass.
class GameSession {
public:
    // Every file of the game is read and written in folder; everything in
    // the game reads its time from clock, which must outlive the session.
    explicit GameSession(GameDir folder, const Clock& clock = systemClock());
    ~GameSession();
    GameSession(const GameSession&) = delete;
    GameSession& operator=(const GameSession&) = delete;

    // Opens the window with a compatibility-profile rendering context and
    // the render state. On failure shows the reason in a box titled "ERROR",
    // releases what it made and returns false.
    bool openMainWindow(const QString& title, int width, int height, int colourBits);
    void closeMainWindow();

    // The start: window, game record, first initialisation on the default
    // map (a map that cannot be read is shown, and the game goes on), then
    // the spoken name prompt. False when the window could not be made.
    bool start();
    // The map start() begins on instead of the first level; empty for it.
    void setFirstMap(std::string name) { firstMap_ = std::move(name); }

    // One pass of the main loop: the pending window events, then a frame,
    // its presentation and the upkeep. False once the loop is to end (Esc,
    // "Salir" or the close box).
    bool runPass();
    // Waits, handling events meanwhile, until the next pass has something
    // to do: the rest of the frame interval while something runs at every
    // frame, otherwise until an event or the next moment something falls
    // due (a sound's end, a creature's move, the screen's refresh).
    // While the game sleeps in silence the sound device rests too.
    void pace();

    // Runs the loop until it ends, then releases the window. The exit code:
    // not 0 when the game could not start (why is on stderr).
    int run();

    MainWindow* window() const { return window_; }
    GameState* game() const { return game_.get(); }
    // What the keys, buttons and replay have asked for, and the name.
    InputState& input() { return input_; }
    const InputState& input() const { return input_; }
    Session& session() { return session_; }
    QtShellHooks* hooks() const { return hooks_.get(); }
    // The sound device behind the game's channels; null before start().
    OpenAlSound* audioDevice() const;
    // What the game's channels play through; null before start().
    VoiceArbiter* voices() const { return sounds_.get(); }
    FramePacer& pacer() { return pacer_; }
    int framesRun() const { return frames_; }
    // Draws the next frame even when its picture has not changed.
    void invalidateFrame() { shown_ = false; }
    // Frames whose picture changed and was presented.
    int framesShown() const { return framesShown_; }

private:
    std::string firstMap_;
    GameDir folder_;
    // start()'s steps: the channels and window connected to the game, and
    // what is wrong with the sound told to the teacher.
    void wire();
    void tellSoundProblems();
    // How long the loop may sleep from now: 0 when something runs at every
    // frame, negative when only an event can bring something (wake_plan.cpp).
    qint64 msUntilDue() const;
    bool busyEveryFrame() const;
    // openMainWindow()'s checks of the context made; false after the
    // failure has been shown and the window closed.
    bool checkContext(int colourBits);
    bool startRendering(int width, int height);
    bool failStart(const std::string& text);
    void drawFrame();
    void redraw();
    // The picture as it stands, with the view's textures and map cache.
    void paint(bool withStatus);
    // While a sentence blocks the game: answers the desktop, shows what the
    // game has written and weighs the keys, clicks and menu commands that
    // come (hold_input.h), never entering the rules. False when one of them
    // cuts the stretch under way short.
    bool keepAlive();
    void waitAlive(double ms);
    // The loop ends here, once.
    void end();

    MainWindow* window_ = nullptr;
    Session session_;
    InputState input_;
    std::unique_ptr<OpenAlSound> device_;
    std::unique_ptr<VoiceArbiter> sounds_;
    std::unique_ptr<GameState> game_;
    std::unique_ptr<QtShellHooks> hooks_;
    // The sentences as a screen reader receives them; a child of the view.
    SpokenLog* spoken_ = nullptr;
    FramePacer pacer_;
    bool done_ = false;
    int frames_ = 0;
    int framesShown_ = 0;
    // A picture unchanged this long is drawn again all the same. Drawing and
    // presenting costs several milliseconds of processor time under a
    // software renderer, so a game waiting for its player does it rarely.
    static constexpr int kRefreshMs = 30000;
    SceneKey shownKey_;
    bool shown_ = false;
    QElapsedTimer sinceShown_;
};
