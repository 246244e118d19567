#pragma once
#include "clock.h"

class GameState;
class ShellHooks;
struct Session;

// What the game offers a player who cannot see the screen, beyond the rules:
// leaving only when asked twice, a welcome after his name, and going on to
// the next level after a win.

// Esc: a first press asks "¿Salir?"; a second one within kQuitConfirmMs ends
// the program (it marks the Esc key down for the main loop).
void escapeKey(GameState* game, Tick now);

// After the name: the two introductions, one after the other, once per
// program start. Any game key ends them; welcomeStep moves on to the second
// when the first has been said.
void startWelcome(GameState& game);
void welcomeStep(GameState& game);
void endWelcome(GameState& game);

// N after a won level: its report, then the next level of the series
// (nivel1 to nivel6, then nivel1 again), with its spoken title. False when
// the level was not won (N then does nothing).
bool nextLevel(GameState& game, Session& session, ShellHooks& hooks);

// The map that follows a map in the series; the first for any other map.
const char* nextMapName(const char* mapName);
