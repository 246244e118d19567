#pragma once
#include <optional>
#include <string>

#include "bitmap.h"

// Shows a decoder message to the player; the window installs one that opens a
// box titled "Error". Without one the message goes to standard error.
using BitmapErrorHandler = void (*)(const std::string& message);
void setBitmapErrorHandler(BitmapErrorHandler handler);

// Decodes a bitmap file. A missing file yields nothing silently; a file that
// exists but cannot be decoded yields nothing after its message has gone to
// the error handler. Needs no rendering context.
std::optional<RgbImage> loadBitmap(const char* name);

// The font sheet and the map square, as texture names of the current context
// (0 until loadTextures has made them).
extern unsigned int fontTexture;
extern unsigned int tileTexture;

// Loads "Data/Font2.bmp" and "Data/casilla.bmp" from the working directory and
// makes them into fontTexture and tileTexture. False, with no texture made,
// when either cannot be loaded. Needs the rendering context current.
bool loadTextures();
