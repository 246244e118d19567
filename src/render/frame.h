#pragma once
#include <bitset>
#include <cstdint>

#include "cell.h"
#include "textures.h"

class GameState;

// The map's squares kept in the rendering context, so that a map that has
// not changed is not sent to the context again at every frame: one per
// context, made empty and filled by the first drawing. Its display list goes
// with the context.
class MapCache {
public:
    // Every square of game's grid that is not a wall, as a tile showing the
    // texture as it is, from the display list; the list is made again first
    // when the open squares are not those it holds.
    void draw(const GameState& game, unsigned int texture);

private:
    unsigned int list_ = 0;
    std::bitset<kGridSize * kGridSize> open_;
};

// One frame's drawing, with the rendering context current, the projection
// set and the textures made in that context. The main loop calls drawScene,
// then (outside name entry) the timed threat checks and drawStatusLine, then
// presents the frame.

// Clears the frame and, during name entry, draws only the name prompt with
// the name typed so far; otherwise the map view when it is on (its squares
// through map) and the 23 message lines, line 0 at the top.
void drawScene(const GameState& game, const Textures& textures, MapCache& map, bool nameEntry,
               const char* playerName);

// Bullets, lives and the player's name at the top right, once the first step
// has been taken.
void drawStatusLine(const GameState& game, const Textures& textures, const char* playerName);

// The player's square in red, over its tile.
void drawPlayerMarker(int32_t row, int32_t col, unsigned int texture);
