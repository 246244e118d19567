// The saved-game reader on arbitrary text, handed over in memory as the
// game's file layer hands over a file's bytes, then the replay of what it
// took, and what was played saved as the game saves it, into memory, and
// read again: no file per input.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "fuzz_support.h"
#include "frame_driver.h"
#include "frame_order.h"
#include "input_state.h"
#include "saved_game.h"
#include "saved_game_format.h"

namespace {
// Runs the replay to its end in the main loop's order: the input step
// carries out what the replay asked for in the frame before, the timed
// threats move, then the replay step fires the next entry when it is due
// and no request is pending. Bounded so a long list cannot hold the run.
void replayAll(FuzzGame& run)
{
    ReplayState& replay = run.session.replay;
    InputState input;
    input.nameEntry = false;
    for (int frame = 0; frame < 4 * kJournalSize && replay.replaying; ++frame) {
        run.clock.advance(997);
        pollInput(run.game, input, run.session.journal);
        run.game.shiftMutant();
        run.game.shiftSuperMonster();
        replayStep(replay, input, run.game.gameOver, run.clock.now());
    }
}

// The save of what was played reads back as a saved game.
bool savedGameReadsBack(const FuzzGame& run)
{
    char* text = nullptr;
    size_t length = 0;
    std::FILE* out = ::open_memstream(&text, &length);
    if (!out)
        return true;  // no memory for the stream: nothing to check
    writeSavedGame(out, run.game.initialCells, run.session.journal);
    std::fclose(out);
    static SavedGameRecord again;
    std::string error;
    const bool read = readSavedGame(std::string_view(text, length), "guardada.txt", again, &error);
    std::free(text);
    return read;
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FuzzGame run;
    GameState& game = run.game;
    Grid before;
    std::memcpy(before, game.cells, sizeof(Grid));
    std::string error;
    if (loadSavedGameText(game, run.session, run.sound, "fuzz.txt",
                          std::string_view(reinterpret_cast<const char*>(data), size), &error)) {
        replayAll(run);
        if (!savedGameReadsBack(run))
            __builtin_trap();
    } else if (error.empty() || std::memcmp(before, game.cells, sizeof(Grid)) != 0) {
        __builtin_trap();  // a refused file must leave the game and say why
    }
    resetJournalAndReplay(run.session);
    return 0;
}
