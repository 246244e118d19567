#pragma once
#include <QMainWindow>
#include <functional>

class GameView;
class QMenu;

// The one top-level window: the menu bar over the game view. Menu commands
// and the close box are handed to the callbacks; the window itself decides
// nothing.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(const QString& title);

    GameView* view() const { return view_; }
    void setMenuHandler(std::function<void(int)> handler) { onMenu_ = std::move(handler); }
    void setCloseHandler(std::function<void()> handler) { onClose_ = std::move(handler); }
    // Lets the close box really close the window (at the end of the program).
    void allowClose() { closeAllowed_ = true; }

    QMenu* gameMenu() const { return gameMenu_; }
    QMenu* helpMenu() const { return helpMenu_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void addCommand(QMenu* menu, const QString& text, int id);

    GameView* view_ = nullptr;
    QMenu* gameMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    std::function<void(int)> onMenu_;
    std::function<void()> onClose_;
    bool closeAllowed_ = false;
};
