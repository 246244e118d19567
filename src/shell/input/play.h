#pragma once

class GameState;
class ShellHooks;
struct InputState;
struct Session;

// One running game as the key, menu and frame logic act on it: the level in
// play, the input state, the session around them and the window side. The
// shell makes one for its game and passes it down; tests make their own.
struct Play {
    GameState& game;
    InputState& input;
    Session& session;
    ShellHooks& hooks;
};
