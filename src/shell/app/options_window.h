#pragma once
#include <QDialog>

class QCheckBox;
struct Play;

// The options dialog: four check boxes and the buttons "Empezar" and
// "Continuar". Modeless; every click applies all four boxes to the game.
// Worked from the keyboard as well: Tab between controls, Space to check or
// press the focused button, Enter and Esc for "Continuar" (the default and
// the cancel button).
class OptionsWindow : public QDialog {
    Q_OBJECT
public:
    OptionsWindow(QWidget* owner, Play& play);

    // Sets a box (OptionBox id) without applying it: the option keys keep
    // the boxes in step with the game.
    void setBox(int boxId, bool checked);
    bool box(int boxId) const;

signals:
    void closedByPlayer();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QCheckBox* addBox(QWidget* group, const QString& text, bool checked);
    QCheckBox* boxWidget(int boxId) const;
    void command(int control);
    void finish();

    Play& play_;
    QCheckBox* bullets_ = nullptr;
    QCheckBox* music_ = nullptr;
    QCheckBox* map_ = nullptr;
    QCheckBox* mouse_ = nullptr;
    bool finished_ = false;
};
