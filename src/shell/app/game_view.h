#pragma once
#include <QOpenGLWidget>
#include <functional>
#include <utility>

#include "frame.h"
#include "textures.h"

struct Play;

// The drawing area of the main window: an 800 by 480 compatibility-profile
// OpenGL view. Frames are drawn into it by the main loop between
// beginFrame() and present(); its key and mouse-button events go to the key
// logic as virtual-key codes.
class GameView : public QOpenGLWidget {
    Q_OBJECT
public:
    explicit GameView(QWidget* parent = nullptr);

    // The game the keys act on; until set, keys are left to the widget.
    void setPlay(Play* play) { play_ = play; }
    // Draws the current picture again when Qt needs it outside a frame (a
    // new size, the window uncovered while a modal dialog holds the loop).
    void setRedraw(std::function<void()> redraw) { redraw_ = std::move(redraw); }
    // Called after a key or mouse button press has reached the key logic, so
    // the main loop can run its next frame at once instead of at its pace.
    void setInputArrived(std::function<void()> arrived) { inputArrived_ = std::move(arrived); }

    // Makes the view's context current with its framebuffer bound.
    void beginFrame();
    // Shows what was drawn since beginFrame().
    void present();
    // Keyboard focus back to the game, after a menu, dialog or message box.
    void takeFocus();

    // The font and map square textures, made in the view's context once it
    // is current, and the map's squares kept in that context: every frame is
    // drawn with them.
    void setTextures(const Textures& textures) { textures_ = textures; }
    const Textures& textures() const { return textures_; }
    MapCache& mapCache() { return mapCache_; }

    // True once Esc has been pressed since the last call. A press and
    // release that both fall between two frames would otherwise go unseen.
    bool takeEscape() { return std::exchange(escapePressed_, false); }

    QSize sizeHint() const override { return QSize(800, 480); }

protected:
    void resizeGL(int width, int height) override;
    void paintGL() override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    // A letter composed with a dead key (á typed as ´ then a) comes as an
    // input method's text, not as a key: taken as that letter's key.
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    Play* play_ = nullptr;
    std::function<void()> redraw_;
    std::function<void()> inputArrived_;
    bool redrawPending_ = false;
    bool escapePressed_ = false;
    Textures textures_;
    MapCache mapCache_;
};
