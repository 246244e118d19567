#pragma once

struct Play;

// The main window's keyboard, mouse-button and menu input as plain functions
// of virtual-key codes and command ids. They act on the game and input
// state of the play given; the Qt side maps its events to these calls (a
// held key's auto-repeat is a further keyDown).

// Marks the key down, then runs the name entry, or the game and option keys
// (none while a loaded game is replayed). Keys the welcome after the name
// takes go no further. Codes outside 0..255 are ignored. During a hold the
// key goes to holdKey (hold_input.h) instead; after a key that started a
// hold, what the hold kept acts.
void keyDown(int vk, Play& play);

// Marks the key up, except while replaying.
void keyUp(int vk, Play& play);

// Follows the buttons in every mode; the input step decides what they do.
// A press during a hold goes to holdButton (hold_input.h).
void mouseButton(bool left, bool down, Play& play);

// Carries out a menu command (MenuId). False for an id that is not one.
bool menuCommand(int id, Play& play);
