#include "hold_input.h"

#include <utility>

#include "game_state.h"
#include "input_state.h"
#include "key_input.h"
#include "play.h"
#include "shell_hooks.h"

namespace {

// The keys that end an ending at once and keep their meaning after it.
bool endsAnEnding(int vk) { return vk == Vk::Enter || vk == 'N' || vk == Vk::Escape || vk == Vk::F1; }

bool nothingKept(const InputState& input) { return input.heldKey == 0 && input.heldMenu == 0 && input.heldButton == 0; }

// Keeps the key (or click) for after the hold; a hold keeps one.
bool keep(InputState& input, int& slot, int value, ShellHooks& hooks)
{
    if (!nothingKept(input)) {
        hooks.keyNotTaken();
        return false;
    }
    slot = value;
    return true;
}

}  // namespace

void holdKey(int vk, InputState& input, ShellHooks& hooks)
{
    switch (input.holdStretch) {
    case Stretch::Answer:
        if (keep(input, input.heldKey, vk, hooks)) {
            input.holdCut = true;
            // The answer cut short does not hold the option keys' gate
            // shut: F, D or O said now is heard now.
            input.lastOptionKeyTime = -1.0f;
        }
        break;
    case Stretch::Ending:
        input.holdCut = true;
        if (endsAnEnding(vk))
            keep(input, input.heldKey, vk, hooks);
        break;
    case Stretch::Closing:
        if (!endsAnEnding(vk))
            hooks.keyNotTaken();
        else if (keep(input, input.heldKey, vk, hooks))
            input.holdCut = true;
        break;
    case Stretch::Fixed:
        if (vk != Vk::Escape && vk != Vk::F1)
            hooks.keyNotTaken();
        else
            keep(input, input.heldKey, vk, hooks);
        break;
    }
}

void holdButton(bool left, InputState& input, ShellHooks& hooks)
{
    switch (input.holdStretch) {
    case Stretch::Answer:
        if (keep(input, input.heldButton, left ? 1 : 2, hooks))
            input.holdCut = true;
        break;
    case Stretch::Ending: input.holdCut = true; break;
    case Stretch::Closing:
    case Stretch::Fixed: hooks.keyNotTaken(); break;
    }
}

void holdMenu(int id, InputState& input, ShellHooks& hooks)
{
    if (keep(input, input.heldMenu, id, hooks))
        input.holdCut = input.holdStretch != Stretch::Fixed;
}

bool takeHoldCut(InputState& input)
{
    // Something kept ends the stretch it waits on, even one that begins
    // after the key came (the closing sentence after Enter in an ending).
    const bool cut = input.holdCut || (!nothingKept(input) && input.holdStretch != Stretch::Fixed);
    input.holdCut = false;
    return cut;
}

void actOnHeldInput(Play& play)
{
    InputState& input = play.input;
    input.holdCut = false;
    if (const int vk = std::exchange(input.heldKey, 0)) {
        keyDown(vk, play);
        // A kept key is not held down any more: its release came during the
        // hold.
        if (vk != Vk::Escape)
            keyUp(vk, play);
    }
    if (const int id = std::exchange(input.heldMenu, 0))
        menuCommand(id, play);
    if (const int button = std::exchange(input.heldButton, 0)) {
        // A click counts once, and only with steering on, as it would have.
        if (play.game.options.mouseActive)
            (button == 1 ? input.leftButtonDown : input.rightButtonDown) = true;
    }
}

void clearRequests(InputState& input)
{
    input.advanceRequested = false;
    input.leftRequested = false;
    input.centreRequested = false;
    input.rightRequested = false;
    input.leftButtonDown = false;
    input.rightButtonDown = false;
}
