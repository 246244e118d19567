#include "key_codes.h"

namespace {

// The keys whose code depends on whether they come from the keypad; -1 for
// any other.
int keypadOrRowKey(int qtKey, bool keypad)
{
    switch (qtKey) {
    case Qt::Key_Asterisk: return keypad ? 106 : 0;
    case Qt::Key_Plus: return keypad ? 107 : 187;
    case Qt::Key_Minus: return keypad ? 109 : 189;
    case Qt::Key_Period: return keypad ? 110 : 190;
    case Qt::Key_Slash: return keypad ? 111 : 0;
    default: return -1;
    }
}

int fixedKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_NumLock: return 144;
    case Qt::Key_ScrollLock: return 145;
    case Qt::Key_Comma: return 188;
    // The letters of Spanish names: Qt numbers them as the game does.
    case Qt::Key_Aacute:
    case Qt::Key_Eacute:
    case Qt::Key_Iacute:
    case Qt::Key_Ntilde:
    case Qt::Key_Oacute:
    case Qt::Key_Uacute:
    case Qt::Key_Udiaeresis: return qtKey;
    default: return 0;
    }
}

}  // namespace

int virtualKeyFor(int qtKey, Qt::KeyboardModifiers modifiers)
{
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        // The keypad sends the same Qt key as the digit row; only the
        // modifier tells them apart, and name entry takes the row only.
        const int digit = qtKey - Qt::Key_0;
        return (modifiers & Qt::KeypadModifier) ? 96 + digit : 48 + digit;
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 112 + (qtKey - Qt::Key_F1);
    const int padOrRow = keypadOrRowKey(qtKey, (modifiers & Qt::KeypadModifier) != 0);
    return padOrRow >= 0 ? padOrRow : fixedKey(qtKey);
}
