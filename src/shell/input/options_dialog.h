#pragma once

class GameState;
struct InputState;
struct Play;

// The logic behind the options dialog and the keys help dialog; the Qt
// dialogs show the boxes and call these.

struct OptionBoxes {
    bool music = false;            // "Música de fondo"
    bool infiniteBullets = false;  // "Balas infinitas"
    bool showMap = false;          // "Mostrar Mapa"
    bool mouse = false;            // "Activar Mouse"
};

// Buttons of the options dialog.
namespace DialogButton {
enum : int { Start = 1, Continue = 2 };
}

// The boxes as the dialog shows them when it opens.
OptionBoxes optionBoxesOf(const GameState& game);

// Applies all four boxes. Unchecking music stops it at once and marks it to
// start again; checking it leaves the start to the next upkeep. Not
// journalled, no message, no sound.
void applyOptionBoxes(GameState& game, const OptionBoxes& boxes);

// A click on any control of the options dialog: applies the boxes, then
// "Empezar" restarts the level (without a report) and "Continuar" just
// closes. Returns true when the dialog is to close.
bool optionsDialogCommand(int control, const OptionBoxes& boxes, Play& play);

// Closing the options dialog with one of its buttons: steering resumes as
// enabled.
void optionsClosedByButton(GameState& game, InputState& input);

// The caption's close box of either dialog: steering stays as it is.
void dialogClosedByCloseBox(InputState& input);
