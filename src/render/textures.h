#pragma once
#include <functional>
#include <optional>
#include <string>

#include "bitmap.h"

// Shows a decoder message to the player; the window passes one that opens a
// box titled "Error". An empty one sends the message to standard error.
using BitmapErrorSink = std::function<void(const std::string& message)>;

// Decodes a bitmap file, named in folder (a name as it is without one). A
// missing file yields nothing silently; a file that exists but cannot be
// decoded yields nothing after its message has gone to report. Needs no
// rendering context.
std::optional<RgbImage> loadBitmap(const char* name, const BitmapErrorSink& report, const GameDir& folder = {});

// The font sheet and the map square, as texture names of the rendering
// context that made them. A name of 0 draws nothing.
struct Textures {
    unsigned int font = 0;
    unsigned int tile = 0;
};

// Loads "Data/Font2.bmp" and "Data/casilla.bmp" from the game folder and
// makes them into textures of the current context. Nothing, with no texture
// made, when either cannot be loaded. Needs the rendering context current.
std::optional<Textures> loadTextures(const GameDir& folder, const BitmapErrorSink& report);

// Why loadTextures gave nothing, in Spanish and naming the pictures: those
// missing from folder, or (when both are there) that they could not be loaded.
std::string texturesFailure(const GameDir& folder);
