#include "input_fixture.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "frame_driver.h"
#include "frame_order.h"
#include "input_state.h"
#include "key_input.h"

void InputTest::writeMap(const std::string& name, const std::vector<int>& row1) const
{
    std::ofstream out(here(name));
    out << "// small map for the input tests\n";
    for (int r = 0; r < kGridSize; ++r) {
        for (int c = 0; c < kGridSize; ++c) {
            int code = 0;
            if (r == 1 && c >= 1 && c - 1 < static_cast<int>(row1.size()))
                code = row1[c - 1];
            out << code << (c + 1 < kGridSize ? " " : "\n");
        }
    }
}

InputTest::InputTest()
{
    // ctest runs the tests side by side: each plays in a folder of its own,
    // so none removes the map or bd/ another is reading.
    char pattern[] = "/tmp/quorvane-input-XXXXXX";
    if (::mkdtemp(pattern) != nullptr)
        ownDir_ = pattern;
    game.folder = GameDir(ownDir_);
    writeMap(kMapName, {1, 3, 3, 8});
    game.firstInit(kMapName, sound);
    sound.clear();
}

InputTest::~InputTest()
{
    if (!ownDir_.empty())
        std::filesystem::remove_all(ownDir_);
}

void InputTest::place(int row, int col, int32_t kind)
{
    game.cells[row][col] = Cell{kind, 3, 3, 6};
}

void InputTest::pollAfter(Tick ms)
{
    clock.advance(ms);
    pollInput(game, input, session.journal);
}

void InputTest::press(int vk)
{
    keyDown(vk, play);
    keyUp(vk, play);
}

std::string InputTest::journalLetters() const
{
    std::string letters;
    for (int i = 0; i < session.journal.journalCount; ++i)
        letters += session.journal.entries[i].key;
    return letters;
}
