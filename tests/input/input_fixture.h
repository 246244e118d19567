#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_clock.h"
#include "game_state.h"
#include "input_state.h"
#include "play.h"
#include "recording_hooks.h"
#include "recording_sound.h"
#include "session.h"

// A game on a small hand-made map, with an input state and a session of its
// own on a controllable clock, and recorded sounds and hooks.
//
// The map is walled all round; row 1 reads, from column 1: start, two
// corridors, an exit. The player starts at (1, 1) facing east. Tests put
// the content they need on the corridor squares after the level start.
class InputTest : public ::testing::Test {
protected:
    static constexpr const char* kMapName = "input_test.quorvane";

    InputTest();
    ~InputTest() override;

    // Puts a square's runtime kind (and a creature's hit points) in place.
    void place(int row, int col, int32_t kind);
    // Moves the clock on and runs one input step.
    void pollAfter(Tick ms);
    void press(int vk);
    // The journal's letters, in order.
    std::string journalLetters() const;
    // The sounds played since the last clear, as "<channel> once <file>".
    std::vector<std::string> plays() const { return sound.plays(game); }
    // Where a file the game names lies: the test's own game folder.
    std::string here(const std::string& name) const { return game.folder.file(name); }
    // Writes a map file of 30 rows in the game folder: walls, with the given
    // codes at the start of row 1 (from column 1).
    void writeMap(const std::string& name, const std::vector<int>& row1) const;

    FakeClock clock{1'000'000};
    Session session{clock};
    RecordingSound sound;
    GameState game{clock};
    RecordingHooks hooks{sound};
    InputState input;
    Play play{game, input, session, hooks};

private:
    std::string ownDir_;
};
