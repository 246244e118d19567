#pragma once
#include <QDialog>

struct InputState;

class QLabel;

// The keys help dialog: the game keys and the option keys in two groups.
// Modeless, without buttons; Tab walks through the lines so a screen reader
// reads each, and Esc or the close box closes it.
class KeysWindow : public QDialog {
    Q_OBJECT
public:
    KeysWindow(QWidget* owner, InputState& input);

signals:
    void closedByPlayer();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    InputState& input_;
    bool closed_ = false;
};
