#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "fake_clock.h"
#include "game_state.h"
#include "recording_sound.h"

// Writes a map from a small picture, one character per square, padded with
// walls to 30 by 30: '#' wall, 'S' start, '.' corridor, 'C' 'L' 'R' doors
// (centre, left, right), 'E' exit, 'T' exit-or-trap, 'B' bullets, 'M'
// monster, 'U' mutant, 'X' super monster, '?' random square.
inline std::string mapText(const std::vector<std::string>& picture, const char* lineEnd = "\n")
{
    std::string out = "/ test map";
    out += lineEnd;
    for (int r = 0; r < kGridSize; ++r) {
        for (int c = 0; c < kGridSize; ++c) {
            char ch = '#';
            if (r < static_cast<int>(picture.size()) && c < static_cast<int>(picture[r].size()))
                ch = picture[r][c];
            int code = 0;
            switch (ch) {
            case 'S': code = 1; break;
            case '?': code = 2; break;
            case '.': code = 3; break;
            case 'C': code = 4; break;
            case 'L': code = 5; break;
            case 'R': code = 6; break;
            case 'T': code = 7; break;
            case 'E': code = 8; break;
            case 'B': code = 9; break;
            case 'M': code = 10; break;
            case 'U': code = 11; break;
            case 'X': code = 12; break;
            default: code = 0;
            }
            out += std::to_string(code);
            out += c < kGridSize - 1 ? " " : lineEnd;
        }
    }
    return out;
}

// A staircase of doors, 12 steps and 11 turns from the start down to the
// exit, and a way round it of 16 steps and 2 turns.
inline std::vector<std::string> staircase()
{
    std::vector<std::string> p(9, std::string(11, '#'));
    for (int r = 1; r <= 6; ++r) {
        p[r][r] = 'L';
        p[r][r + 1] = 'R';
    }
    p[1][1] = 'S';
    p[7][7] = 'E';
    for (int c = 3; c <= 8; ++c)
        p[1][c] = '.';
    for (int r = 2; r <= 6; ++r)
        p[r][9] = '.';
    p[1][9] = p[7][9] = 'R';
    p[7][8] = '.';
    return p;
}

inline void writeFile(const std::string& name, const std::string& text)
{
    std::ofstream(name, std::ios::binary) << text;
}

class WorldTest : public ::testing::Test {
protected:
    FakeClock clock{100000};
    RecordingSound sound;
    GameState game{clock};

    // Opens the channels and starts a level on the picture; the recorder is
    // cleared so a test sees only what its own actions play.
    void start(const std::vector<std::string>& picture)
    {
        const std::string name = std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".quorvane";
        writeFile(name, mapText(picture));
        game.firstInit(name, sound);
        ASSERT_TRUE(game.lastLoadError.empty()) << game.lastLoadError;
        sound.clear();
    }

    // Puts a runtime kind on a square, with the hit points the level start gives.
    void place(int r, int c, int32_t kind)
    {
        Cell& cell = game.cells[r][c];
        cell.kind = kind;
        cell.monsterHp = cell.mutantHp = 3;
        cell.superHp = 6;
    }

    std::vector<std::string> plays() const { return sound.plays(game); }

    std::vector<std::string> log() const
    {
        std::vector<std::string> out;
        for (int i = 0; i < game.log.historyCount; ++i)
            out.emplace_back(game.log.history[i]);
        return out;
    }
};
