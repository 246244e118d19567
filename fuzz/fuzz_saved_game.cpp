// The saved-game reader on arbitrary text, handed over in memory as the
// game's file layer hands over a file's bytes, then the replay of what it
// took and a save of what was played.
#include <cstring>
#include <string_view>

#include "file_chooser.h"
#include "fuzz_support.h"
#include "player_action.h"
#include "saved_game.h"

namespace {
class FixedChooser : public FileChooser {
public:
    bool askOpenFile(const char*, const char*, const char*, std::string& name) override
    {
        name = "fuzz.txt";
        return true;
    }
    bool askSaveFile(const char*, const char*, const char*, std::string& name) override
    {
        name = "saved.txt";
        return true;
    }
};

// A save of the journal written after every input would make the run disk
// bound; one in this many inputs is saved.
constexpr unsigned kSaveEvery = 64;

// Fires the replay to its end, carrying out each letter as the game would;
// bounded so a long list cannot hold the run.
void replayAll(FuzzGame& run)
{
    ReplayState& replay = run.session.replay;
    for (int frame = 0; frame < 4 * kJournalSize && replay.replaying; ++frame) {
        run.clock.advance(997);
        run.game.shiftMutant();
        run.game.shiftSuperMonster();
        performAction(run.game, run.session.journal, replayTick(replay, run.clock.now()));
    }
}
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    prepareFileTarget("fuzz-saved-game");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FuzzGame run;
    static FixedChooser chooser;
    GameState& game = run.game;
    static unsigned inputs = 0;
    Grid before;
    std::memcpy(before, game.cells, sizeof(Grid));
    std::string error;
    if (loadSavedGameText(game, run.session, run.sound, "fuzz.txt",
                          std::string_view(reinterpret_cast<const char*>(data), size), &error)) {
        replayAll(run);
        // What was played can be saved.
        if (++inputs % kSaveEvery == 0 && !saveGame(game, run.session, chooser, &error))
            __builtin_trap();
    } else if (error.empty() || std::memcmp(before, game.cells, sizeof(Grid)) != 0) {
        __builtin_trap();  // a refused file must leave the game and say why
    }
    resetJournalAndReplay(run.session);
    return 0;
}
