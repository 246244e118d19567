#pragma once
#include <QString>
#include <string>

#include "game_dir.h"

class QApplication;

// Asks every OpenGL view for a compatibility-profile context (the drawing is
// fixed-function OpenGL 1.1), double-buffered with a depth buffer of 16 bits
// or more, and chooses the event loop that hands back input held during a
// spoken sentence. Call before the QApplication is made.
void configureSurfaceFormat();

// Loads Qt's own Spanish texts (file dialog buttons and labels, message box
// buttons). False when the translation is not installed; Qt then speaks
// English.
bool installSpanishTranslation(QApplication& app);

// Mouse steering puts the pointer back in the middle after every move, which
// a native Wayland client cannot do (the side would pin left or right). On a
// Wayland desktop that offers XWayland the game runs through it, unless the
// user chose a platform himself (QT_QPA_PLATFORM). Call before the
// QApplication is made.
void preferXWaylandForSteering();

// The folder the game reads and writes every file in, as a whole path: the
// folder named on the command line, else the working directory when that is
// a game folder (a teacher's own copy), else the user's own folder
// (~/.local/share/quorvane), which keeps the reports, saved games and maps
// and reaches the generated sounds and pictures of the build or installation
// by links. The working directory itself is left as it is. Call after the
// QApplication is made.
GameDir chooseGameDir();

// "quorvane --mapa FILE" starts on that map instead of the first level (the
// map editor's "Probar en el juego"). The map's whole path (a relative FILE
// is in the working directory), or empty when the option is not given.
QString mapArgument();
// The name the game loads map by: the file's own name when it lies in the
// game folder (so the shipped levels keep their titles), else its whole path.
std::string mapNameInGameFolder(const QString& map, const GameDir& folder);
