// Writes statistics reports made by the game itself from the given maps: each
// map's level is started, walked for a while and reported, as seeds for
// fuzz_report.
#include <cstdio>
#include <filesystem>
#include <vector>

#include "fuzz_support.h"
#include "report.h"

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR MAP...\n", argv[0]);
        return 2;
    }
    namespace fs = std::filesystem;
    FuzzGame run;
    const fs::path out = fs::absolute(argv[1]);
    fs::create_directories(out);
    std::vector<fs::path> maps;
    for (int i = 2; i < argc; ++i)
        maps.push_back(fs::absolute(argv[i]));
    // The report is written under bd/ of the game folder.
    run.game.folder = GameDir(out);
    for (const fs::path& map : maps) {
        run.game.firstInit(map.string(), run.sound);
        resetJournalAndReplay(run.session);
        playSomeMoves(run, 40);
        std::string error;
        if (!writeStatisticsReport(run.game, run.session.journal, "semilla", &error))
            continue;  // fewer than two steps on this map
        for (const auto& entry : fs::directory_iterator(out / "bd"))
            fs::rename(entry.path(), out / (map.stem().string() + ".db1"));
    }
    fs::remove_all(out / "bd");
    fs::remove(out / "UltimoJuego.txt");
    return 0;
}
