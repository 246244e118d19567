#pragma once
#include <Qt>

// Translates a Qt key into the virtual-key code the key logic works with:
// letters 65..90, digits 48..57, keypad digits 96..105, Enter 13, Space 32,
// Delete 46, Esc 27, F1..F24 112..135, and the usual codes of the arrows,
// editing and modifier keys. 0 for a key the game has no code for.
int virtualKeyFor(int qtKey, Qt::KeyboardModifiers modifiers);
