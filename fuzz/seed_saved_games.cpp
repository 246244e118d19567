// Writes saved games made by the game itself from the given maps: each map's
// level is started, walked for a while and saved, as seeds for the fuzzer.
#include <cstdio>
#include <filesystem>

#include "fuzz_support.h"
#include "saved_game_format.h"

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR MAP...\n", argv[0]);
        return 2;
    }
    FuzzGame run;
    const std::filesystem::path out = std::filesystem::absolute(argv[1]);
    std::filesystem::create_directories(out);
    for (int i = 2; i < argc; ++i) {
        const std::filesystem::path map = std::filesystem::absolute(argv[i]);
        run.game.firstInit(map.string(), run.sound);
        resetJournalAndReplay(run.session);
        playSomeMoves(run, 12 + i);
        const auto name = out / (map.stem().string() + ".txt");
        std::FILE* f = std::fopen(name.c_str(), "wb");
        if (!f)
            return 1;
        writeSavedGame(f, run.game.initialCells, run.session.journal);
        std::fclose(f);
    }
    return 0;
}
