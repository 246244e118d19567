#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "player_action.h"

void prepareFileTarget(const char* purpose)
{
    const auto dir = std::filesystem::temp_directory_path() /
                     ("quorvane-" + std::string(purpose) + "-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
}

bool writeBytes(const std::string& name, const uint8_t* data, size_t size)
{
    std::FILE* f = std::fopen(name.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

void playSomeMoves(FuzzGame& run, int moves)
{
    GameState& game = run.game;
    for (int i = 0; i < moves && !game.gameOver; ++i) {
        run.clock.advance(1500);
        game.shiftMutant();
        game.shiftSuperMonster();
        performAction(game, run.session.journal, "SHJSK"[i % 5]);
    }
}
