#pragma once
#include <cstdint>

// What the player switches on and off with keys, and the pointer steering
// that follows the mouse while it is active.
struct PlayOptions {
    bool showMap = false;
    bool musicOn = false;
    // The background music starts again at the next pass.
    bool musicRestart = true;
    bool infiniteBullets = false;
    bool mouseActive = false;
    bool mouseEnabled = false;
    // The bullets and lives shown over the map; hidden at each level start.
    bool hudShown = false;
    int32_t mouseZone = 2;
    int32_t mouseOffset = 0;

    // The options a new game and a loaded one start with.
    void reset(bool mapShown)
    {
        infiniteBullets = false;
        mouseActive = false;
        mouseEnabled = false;
        musicOn = false;
        musicRestart = true;
        showMap = mapShown;
    }
};
