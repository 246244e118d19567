#include <gtest/gtest.h>

#include <utility>

#include "input_state.h"
#include "key_codes.h"

// Each key the game reacts to arrives as the code its key logic reads.
TEST(VirtualKeys, TheKeysTheGameUsesArriveAsTheCodesItReads)
{
    EXPECT_EQ(virtualKeyFor(Qt::Key_Return, Qt::NoModifier), Vk::Enter);
    EXPECT_EQ(virtualKeyFor(Qt::Key_Enter, Qt::KeypadModifier), Vk::Enter);
    EXPECT_EQ(virtualKeyFor(Qt::Key_Space, Qt::NoModifier), Vk::Space);
    EXPECT_EQ(virtualKeyFor(Qt::Key_Delete, Qt::NoModifier), Vk::Delete);
    EXPECT_EQ(virtualKeyFor(Qt::Key_Escape, Qt::NoModifier), Vk::Escape);
    EXPECT_EQ(virtualKeyFor(Qt::Key_F1, Qt::NoModifier), Vk::F1);
    // Name entry takes every letter, shifted or not, and the digit row.
    EXPECT_EQ(virtualKeyFor(Qt::Key_A, Qt::NoModifier), Vk::A);
    EXPECT_EQ(virtualKeyFor(Qt::Key_Ntilde, Qt::ShiftModifier), Vk::NTilde);
    EXPECT_EQ(virtualKeyFor(Qt::Key_Eacute, Qt::NoModifier), Vk::EAcute);
    EXPECT_EQ(virtualKeyFor(Qt::Key_Z, Qt::ShiftModifier), Vk::Z);
    EXPECT_EQ(virtualKeyFor(Qt::Key_0, Qt::NoModifier), Vk::Digit0);
    EXPECT_EQ(virtualKeyFor(Qt::Key_9, Qt::NoModifier), Vk::Digit9);
    // The turns, the next level, what is said again, and the option toggles.
    const std::pair<Qt::Key, char> letters[] = {{Qt::Key_H, 'H'}, {Qt::Key_J, 'J'}, {Qt::Key_K, 'K'}, {Qt::Key_N, 'N'},
        {Qt::Key_F, 'F'}, {Qt::Key_D, 'D'}, {Qt::Key_O, 'O'}, {Qt::Key_E, 'E'}, {Qt::Key_Q, 'Q'}, {Qt::Key_R, 'R'},
        {Qt::Key_W, 'W'}};
    for (const auto& [key, letter] : letters)
        EXPECT_EQ(virtualKeyFor(key, Qt::NoModifier), letter) << letter;
}

// The keypad's digits are keys of their own, which name entry does not take.
TEST(VirtualKeys, KeypadDigitsAreTheirOwnKeys)
{
    EXPECT_EQ(virtualKeyFor(Qt::Key_0, Qt::KeypadModifier), Vk::Numpad0);
    EXPECT_EQ(virtualKeyFor(Qt::Key_9, Qt::KeypadModifier | Qt::ShiftModifier), Vk::Numpad9);
}

TEST(VirtualKeys, KeysWithoutACodeAreDropped)
{
    EXPECT_EQ(virtualKeyFor(Qt::Key_Exclam, Qt::ShiftModifier), 0);
    EXPECT_EQ(virtualKeyFor(Qt::Key_Egrave, Qt::NoModifier), 0);
    EXPECT_EQ(virtualKeyFor(Qt::Key_unknown, Qt::NoModifier), 0);
}
