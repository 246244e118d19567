#pragma once
#include <QDialog>

#include "teacher_settings.h"

class QCheckBox;
class QComboBox;

// "Ajustes del maestro": the voice's speed, how often the creatures move and
// whether traps are laid, for every child who plays in this game folder.
// Worked from the keyboard alone: Tab between controls, the arrows to choose,
// Space for the check box, Enter for "Aceptar" and Esc for "Cancelar"; every
// control carries the name a screen reader says. Accepted settings wait for
// the next level start, as the window says.
class TeacherWindow : public QDialog {
    Q_OBJECT
public:
    TeacherWindow(QWidget* owner, const TeacherSettings& current);

    // The settings as the controls show them.
    TeacherSettings chosen() const;

private:
    QComboBox* voice_ = nullptr;
    QComboBox* shift_ = nullptr;
    QCheckBox* traps_ = nullptr;
};
