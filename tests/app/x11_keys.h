#pragma once
#include <vector>

// Sends key presses and releases to a window through the X server, as a
// keyboard would: they reach the program through its event queue, not by a
// direct call. Letters are given as lower-case ASCII. False when no display
// could be reached.
bool sendKeysThroughServer(unsigned long window, const std::vector<char>& letters);
