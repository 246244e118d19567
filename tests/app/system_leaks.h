#pragma once

// Under LeakSanitizer: system libraries keep a few allocations for the life
// of the process (the D-Bus connection of the accessibility bridge, the GL
// driver's screen, fontconfig's caches, which it lets go only at exit), which
// are not the game's leaks.
#define QUORVANE_SYSTEM_LEAKS \
    "leak:libdbus-1.so\nleak:_dri.so\nleak:libGLX_mesa.so\nleak:libgallium\nleak:libLLVM\nleak:libfontconfig\n"

// A program that keeps the accessibility bridge on, as a screen reader's
// desktop does: the bridge may still hold its last message to the screen
// reader, with the sentence it carries, when the program ends.
#define QUORVANE_ACCESSIBILITY_LEAKS QUORVANE_SYSTEM_LEAKS "leak:libQt6Gui.so\n"
