#pragma once

// Viewport and 45-degree perspective for a drawing area of width by height
// pixels (a height of 0 counts as 1); leaves the modelview matrix selected and
// reset. Needs the rendering context current.
void setProjection(int width, int height);

// Loads the textures and sets the clear colour (white),
// clear depth, depth function and texturing. False when the textures cannot be
// loaded; the start then fails with "Initialization Failed.". Call once per
// rendering context, with it current.
bool initRenderState();
