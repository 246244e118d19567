// The map reader and the level start on arbitrary text, then a walk on the
// level when the map was taken. The text is handed over in memory, as the
// game's file layer hands over a file's bytes: no file per input, and the
// warnings about a map that loads are checked but not written.
#include <cstring>
#include <string_view>

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FuzzGame run;
    static bool opened = false;
    GameState& game = run.game;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!opened) {
        game.firstInit("nivel1.quorvane", run.sound);
        opened = true;
    }
    Grid before;
    std::memcpy(before, game.cells, sizeof(Grid));
    if (game.loadMapText("fuzz.quorvane", text)) {
        playSomeMoves(run, 60);
    } else if (std::memcmp(before, game.cells, sizeof(Grid)) != 0 || game.lastLoadError.empty()) {
        __builtin_trap();  // a refused map must leave the level in play and say why
    }
    return 0;
}
