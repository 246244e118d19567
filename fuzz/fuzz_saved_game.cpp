// The saved-game reader on arbitrary text, handed over in memory as the
// game's file layer hands over a file's bytes, then the replay of what it
// took and a save of what was played.
#include <cstring>
#include <string_view>

#include "file_chooser.h"
#include "fuzz_support.h"
#include "journal.h"
#include "replay.h"
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

// Fires the replay to its end, carrying out each letter as the frame driver
// would; bounded so a long list cannot hold the run.
void replayAll(GameState& game)
{
    for (int frame = 0; frame < 4 * kJournalSize && replay.replaying; ++frame) {
        advanceFuzzClock(997);
        game.shiftMutant();
        game.shiftSuperMonster();
        switch (replayTick()) {
        case 'S':
            recordAction('S');
            if (!game.gameOver && !game.threatAhead)
                game.advance();
            break;
        case 'H': recordAction('H'); if (!game.gameOver) game.leftAction(); break;
        case 'J': recordAction('J'); if (!game.gameOver) game.centreAction(); break;
        case 'K': recordAction('K'); if (!game.gameOver) game.rightAction(); break;
        default: break;
        }
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
    static NullSound sound;
    static GameState game;
    static FixedChooser chooser;
    static unsigned inputs = 0;
    Grid before;
    std::memcpy(before, game.cells, sizeof(Grid));
    std::string error;
    if (loadSavedGameText(game, sound, "fuzz.txt", std::string_view(reinterpret_cast<const char*>(data), size),
                          &error)) {
        replay.replaying = true;
        replayAll(game);
        // What was played can be saved.
        if (++inputs % kSaveEvery == 0 && !saveGame(game, chooser, &error))
            __builtin_trap();
    } else if (error.empty() || std::memcmp(before, game.cells, sizeof(Grid)) != 0) {
        __builtin_trap();  // a refused file must leave the game and say why
    }
    resetJournalAndReplay();
    return 0;
}
