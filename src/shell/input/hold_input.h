#pragma once

class ShellHooks;
struct InputState;
struct Play;

// Keys, clicks and menu commands that come while blocking playback holds the
// game (input.holding). The rules are never entered in the middle of a
// sentence: what a hold takes is kept and acted on once it is over, and
// what it does not take is dropped with a soft tick, never merged with a
// later key or carried into the next level.
//
// - A fixed hold (a door opening): Esc and F1 are kept for afterwards;
//   any other key or click ticks.
// - An answer (where am I, bullets, repeat): any key or click cuts it short
//   and acts.
// - An ending: Enter, N, Esc and F1 cut it short, its closing sentence
//   included, and act; any other key or click skips to the closing sentence.
// - An ending's closing sentence: Enter, N, Esc and F1 cut it short and act;
//   any other key or click ticks.
// A menu command is kept as Esc is, and cuts whatever stretch is under way.
// One thing is kept per hold; a second one ticks.
void holdKey(int vk, InputState& input, ShellHooks& hooks);
void holdButton(bool left, InputState& input, ShellHooks& hooks);
void holdMenu(int id, InputState& input, ShellHooks& hooks);

// Whether a stretch under way must stop now, for a key or click that cut it
// or for something kept that waits on it; the request is used up.
bool takeHoldCut(InputState& input);

// Acts on what the last hold kept; called once the game is out of it.
void actOnHeldInput(Play& play);

// Drops every pending step, side action and button: a new level starts
// with none.
void clearRequests(InputState& input);
