#pragma once
#include <cstddef>
#include <cstdint>

#include "fake_clock.h"
#include "game_state.h"
#include "session.h"
#include "sound.h"

// A sound system without a device: every channel stays closed, as on a
// machine with no sound card.
class NullSound : public SoundSystem {
public:
    int openVoice() override { return -1; }
    void closeVoice(int) override {}
    bool loadVoice(int, const std::string&) override { return false; }
    int playVoice(int, bool) override { return -1; }
    int stopVoice(int) override { return -1; }
    bool playBlocking(const std::string&) override { return false; }
};

// A fuzz run's game: a clock that moves only when told, so a run is
// repeatable, and the session and record that read it.
// Every input is handed over in memory and nothing is written: no map
// warnings on the standard error, no empty file at each level start. A run
// that touched the disk or the terminal per input would measure them instead
// of the readers.
struct FuzzGame {
    FakeClock clock{1};
    Session session{clock};
    NullSound sound;
    GameState game{clock};
    FuzzGame()
    {
        game.mapWarnings = nullptr;
        game.createsLastGameFile = false;
    }
};

// Plays a fixed walk on the level in play, journalled as the keys would be:
// steps and side actions mixed with the timed threats, until the level ends
// or the moves run out.
void playSomeMoves(FuzzGame& run, int moves);
