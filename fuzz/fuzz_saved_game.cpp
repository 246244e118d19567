// The saved-game reader on arbitrary files, then the replay of what it took.
#include <cstring>

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
    if (!writeBytes("fuzz.txt", data, size))
        return 0;
    static NullSound sound;
    static GameState game;
    static FixedChooser chooser;
    Grid before;
    std::memcpy(before, game.cells, sizeof(Grid));
    std::string error;
    if (loadGame(game, chooser, sound, &error)) {
        replay.replaying = true;
        replayAll(game);
        // What was played can be saved and read back.
        if (!saveGame(game, chooser, &error))
            __builtin_trap();
    } else if (error.empty() || std::memcmp(before, game.cells, sizeof(Grid)) != 0) {
        __builtin_trap();  // a refused file must leave the game and say why
    }
    resetJournalAndReplay();
    return 0;
}
