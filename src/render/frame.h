#pragma once
#include <cstdint>

#include "textures.h"

class GameState;

// One frame's drawing, with the rendering context current, the projection
// set and the textures made in that context. The main loop calls drawScene,
// then (outside name entry) the timed threat checks and drawStatusLine, then
// presents the frame.

// Clears the frame and, during name entry, draws only the name prompt with
// the name typed so far; otherwise the map view when it is on and the 23
// message lines, line 0 at the top.
void drawScene(const GameState& game, const Textures& textures, bool nameEntry, const char* playerName);

// Bullets, lives and the player's name at the top right, once the first step
// has been taken.
void drawStatusLine(const GameState& game, const Textures& textures, const char* playerName);

// Every square of the grid that is not a wall, as a tile in white (showing
// the texture as it is), all in one draw.
void drawMap(const GameState& game, unsigned int texture);

// The player's square in red, over its tile.
void drawPlayerMarker(int32_t row, int32_t col, unsigned int texture);
