#pragma once
#include <optional>

#include "textures.h"

// Viewport and 45-degree perspective for a drawing area of width by height
// pixels (a height of 0 counts as 1); leaves the modelview matrix selected and
// reset. Needs the rendering context current.
void setProjection(int width, int height);

// Loads the textures of the game folder (decoder messages go to report) and sets the clear
// colour (white), clear depth, depth function and texturing. Nothing when the
// textures cannot be loaded; the start then fails with "Initialization
// Failed.". Call once per rendering context, with it current; the textures
// belong to that context and are passed to the frame drawing.
std::optional<Textures> initRenderState(const GameDir& folder, const BitmapErrorSink& report);
