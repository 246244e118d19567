#pragma once

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

// The game reads its sounds, pictures and maps relative to the working
// directory. Started from elsewhere (a file manager, a desktop launcher), it
// moves to its own folder when that is where the game's files are.
void enterGameFolder();
