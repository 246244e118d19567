#pragma once
#include "cell.h"
#include "clock.h"
#include "game_dir.h"

class GameState;
struct InputState;
struct Play;

// What the game offers a player who cannot see the screen, beyond the rules:
// leaving only when asked twice, a welcome that teaches the keys, each
// level's title and goal, and going on to the next level after a win.

// Esc: a first press asks "¿Salir?"; a second one within kQuitConfirmMs ends
// the program (it marks the Esc key down for the main loop).
void escapeKey(GameState& game, InputState& input, Tick now);

// After the name, once per program start, a welcome that teaches: two
// sentences, then one key at a time (Space, H, J, K, F, D, O), each answered
// with "Muy bien." before the next is taught. The keys pressed meanwhile are
// the welcome's: not acted on, journalled or counted. Another key says the
// lesson again; Esc or Enter skip the rest. Once over, the level's start is
// announced (jingle, title, goal).
void startWelcome(GameState& game, InputState& input);
// Each frame: the next sentence once the one being said has ended.
void welcomeStep(GameState& game, InputState& input);
// A key pressed: true when the welcome took it.
bool welcomeKey(int vk, GameState& game, InputState& input);
// Ends the welcome without a word (a level starts, a game is loaded).
void endWelcome(GameState& game, InputState& input);

// A level has just started (its jingle playing): its title and goal, said as
// the jingle ends and written; the goal alone on a map outside the series.
void announceLevel(GameState& game, InputState& input);

// N after a won level: its report, then the next level of the series
// (nivel1 to nivel6, then nivel1 again), with its title and goal. False when
// the level was not won (N then does nothing).
bool nextLevel(Play& play);

// The map that follows a map in the series; the first for any other map.
const char* nextMapName(const char* mapName);

// The series map a grid was played on, told by its walls (the maps read in
// folder); "" when none.
const char* seriesMapOf(const GameDir& folder, const Grid& grid);
