// The map reader and the level start on arbitrary files, then a walk on the
// level when the map was taken.
#include <cstring>

#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    prepareFileTarget("fuzz-map");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!writeBytes("fuzz.quorvane", data, size))
        return 0;
    static NullSound sound;
    static GameState game;
    static bool opened = false;
    if (!opened) {
        game.firstInit("fuzz.quorvane", sound);
        opened = true;
    }
    Grid before;
    std::memcpy(before, game.cells, sizeof(Grid));
    if (game.loadMap("fuzz.quorvane")) {
        playSomeMoves(game, 60);
    } else if (std::memcmp(before, game.cells, sizeof(Grid)) != 0 || game.lastLoadError.empty()) {
        __builtin_trap();  // a refused map must leave the level in play and say why
    }
    return 0;
}
