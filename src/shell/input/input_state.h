#pragma once
#include <cstdint>

#include "clock.h"
#include "sound.h"

// The input state of one running game: what the keys, the mouse buttons and
// the replay have asked for, and the player's name. The session that runs
// the game owns it and passes it, with the game, to what reads or changes
// it; the frame driver is the only consumer of the requests.
constexpr int kPlayerNameSize = 100;  // 99 characters and the terminator
constexpr int kMaxNameLength = kPlayerNameSize - 1;

struct InputState {
    bool keys[256]{};
    bool nameEntry = true;
    bool advanceRequested = false;
    bool leftRequested = false;
    bool centreRequested = false;
    bool rightRequested = false;
    bool leftButtonDown = false;
    bool rightButtonDown = false;
    // Scaled times of the last passes of the two gates; ticks count from the
    // program's start, so "never" lies before zero and the first pass opens.
    float lastInputTime = -1.0f;
    float lastOptionKeyTime = -1.0f;
    char playerName[kPlayerNameSize]{};
    int32_t playerNameLength = 0;
    bool dialogOpen = false;
    // Esc asks before it ends the program: set by a first Esc, with its
    // time, until a second Esc, any other key or the time runs out.
    bool quitAsked = false;
    Tick quitAskedAt = 0;
    // The welcome after the name, once per program start: the lesson being
    // taught, and whether its key has been pressed.
    int welcomeStage = 0;
    int welcomeLesson = 0;
    bool lessonAnswered = false;
    // Blocking playback holds the game: set by the shell while it handles
    // events during a hold, with the stretch the sound system is in.
    bool holding = false;
    Stretch holdStretch = Stretch::Fixed;
    // A key or click asked to cut the stretch under way short.
    bool holdCut = false;
    // What a hold keeps to act on once it is over (0: nothing): one key, a
    // menu command or a mouse button (1 left, 2 right).
    int heldKey = 0;
    int heldMenu = 0;
    int heldButton = 0;
};

// How long a first Esc waits for the second.
constexpr Tick kQuitConfirmMs = 4000;

namespace WelcomeStage {
enum : int { NotYet = 0, Running = 1, Done = 2 };
}

// Virtual-key codes the game reacts to (letters and digits are their ASCII
// upper-case codes).
namespace Vk {
enum : int {
    Enter = 13,
    Escape = 27,
    Space = 32,
    Delete = 46,
    Digit0 = 48,
    Digit9 = 57,
    A = 65,
    Z = 90,
    Numpad0 = 96,
    Numpad9 = 105,
    F1 = 112,
    // The letters of Spanish names beyond A to Z, at the code of their
    // upper case in Windows-1252 (as Qt numbers those keys too).
    AAcute = 0xC1,
    EAcute = 0xC9,
    IAcute = 0xCD,
    NTilde = 0xD1,
    OAcute = 0xD3,
    UAcute = 0xDA,
    UDiaeresis = 0xDC,
};
}

// Menu command ids.
namespace MenuId {
enum : int {
    Options = 40001,
    Quit = 40002,
    ChangeMap = 40004,
    Keys = 40005,
    SaveGame = 40006,
    LoadGame = 40007,
    TeacherSettings = 40008,
};
}

// Options dialog check box ids.
namespace OptionBox {
enum : int { ShowMap = 1004, Mouse = 1006, Music = 1007, InfiniteBullets = 1008 };
}
