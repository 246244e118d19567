#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {
Tick fuzzTick = 1;
Tick readFuzzTick() { return fuzzTick; }
std::time_t fixedCalendar() { return 1204535222; }
}

void installFuzzClock()
{
    setTickSource(readFuzzTick);
    setCalendarSource(fixedCalendar);
}

void advanceFuzzClock(Tick ms) { fuzzTick += ms; }

void prepareFileTarget(const char* purpose)
{
    installFuzzClock();
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

void playSomeMoves(GameState& game, int moves)
{
    for (int i = 0; i < moves && !game.gameOver; ++i) {
        advanceFuzzClock(1500);
        game.shiftMutant();
        game.shiftSuperMonster();
        switch (i % 5) {
        case 0:
        case 3:
            if (!game.threatAhead)
                game.advance();
            break;
        case 1: game.leftAction(); break;
        case 2: game.centreAction(); break;
        case 4: game.rightAction(); break;
        }
    }
}
