#include <gtest/gtest.h>

#include "key_codes.h"

TEST(VirtualKeys, LettersDigitsAndTheKeysTheGameUses)
{
    EXPECT_EQ(virtualKeyFor(Qt::Key_A, Qt::NoModifier), 65);
    EXPECT_EQ(virtualKeyFor(Qt::Key_Z, Qt::ShiftModifier), 90);
    EXPECT_EQ(virtualKeyFor(Qt::Key_0, Qt::NoModifier), 48);
    EXPECT_EQ(virtualKeyFor(Qt::Key_9, Qt::NoModifier), 57);
    EXPECT_EQ(virtualKeyFor(Qt::Key_Return, Qt::NoModifier), 13);
    EXPECT_EQ(virtualKeyFor(Qt::Key_Enter, Qt::KeypadModifier), 13);
    EXPECT_EQ(virtualKeyFor(Qt::Key_Space, Qt::NoModifier), 32);
    EXPECT_EQ(virtualKeyFor(Qt::Key_Delete, Qt::NoModifier), 46);
    EXPECT_EQ(virtualKeyFor(Qt::Key_Escape, Qt::NoModifier), 27);
    EXPECT_EQ(virtualKeyFor(Qt::Key_F1, Qt::NoModifier), 112);
    EXPECT_EQ(virtualKeyFor(Qt::Key_F12, Qt::NoModifier), 123);
    EXPECT_EQ(virtualKeyFor(Qt::Key_Backspace, Qt::NoModifier), 8);
    EXPECT_EQ(virtualKeyFor(Qt::Key_Left, Qt::NoModifier), 37);
}

TEST(VirtualKeys, KeypadDigitsAreTheirOwnKeys)
{
    EXPECT_EQ(virtualKeyFor(Qt::Key_0, Qt::KeypadModifier), 96);
    EXPECT_EQ(virtualKeyFor(Qt::Key_9, Qt::KeypadModifier | Qt::ShiftModifier), 105);
    EXPECT_EQ(virtualKeyFor(Qt::Key_Plus, Qt::KeypadModifier), 107);
    EXPECT_EQ(virtualKeyFor(Qt::Key_Plus, Qt::NoModifier), 187);
}

TEST(VirtualKeys, KeysWithoutACodeAreDropped)
{
    EXPECT_EQ(virtualKeyFor(Qt::Key_Exclam, Qt::ShiftModifier), 0);
    EXPECT_EQ(virtualKeyFor(Qt::Key_Ntilde, Qt::NoModifier), 0);
    EXPECT_EQ(virtualKeyFor(Qt::Key_unknown, Qt::NoModifier), 0);
}
