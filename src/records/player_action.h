#pragma once

class GameState;
struct Journal;

// The one way a player's move enters the game: 'S' (a step), 'H', 'J' or 'K'
// (the left, centre and right actions) is journalled with the game's tick and
// then carried out. A step into a creature is journalled and counted, not
// taken. Returns false, journalling nothing, when the move cannot be made now
// (the level has ended) or the letter is not a move; the keys, the replay,
// the fuzzers and the tests all come through here.
bool performAction(GameState& game, Journal& journal, char letter);
