#pragma once

class QWidget;

// Starts the map editor (quorvane-editor) as a process of its own: the one
// beside the game's program, else the one on the PATH. A box on owner says
// so when there is none.
void startMapEditor(QWidget* owner);
