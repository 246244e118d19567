#include "hold_input.h"

#include <utility>

#include "game_state.h"
#include "input_state.h"
#include "key_input.h"
#include "shell_hooks.h"

namespace {

// The keys that end an ending at once and keep their meaning after it.
bool endsAnEnding(int vk) { return vk == Vk::Enter || vk == 'N' || vk == Vk::Escape || vk == Vk::F1; }

bool nothingKept() { return input.heldKey == 0 && input.heldMenu == 0 && input.heldButton == 0; }

// Keeps the key (or click) for after the hold; a hold keeps one.
bool keep(int& slot, int value, ShellHooks& hooks)
{
    if (!nothingKept()) {
        hooks.keyNotTaken();
        return false;
    }
    slot = value;
    return true;
}

}  // namespace

void holdKey(int vk, ShellHooks& hooks)
{
    switch (input.holdStretch) {
    case Stretch::Answer:
        if (keep(input.heldKey, vk, hooks)) {
            input.holdCut = true;
            // The answer cut short does not hold the option keys' gate
            // shut: F, D or O said now is heard now.
            input.lastOptionKeyTime = -1.0f;
        }
        break;
    case Stretch::Ending:
        input.holdCut = true;
        if (endsAnEnding(vk))
            keep(input.heldKey, vk, hooks);
        break;
    case Stretch::Closing:
        if (!endsAnEnding(vk))
            hooks.keyNotTaken();
        else if (keep(input.heldKey, vk, hooks))
            input.holdCut = true;
        break;
    case Stretch::Fixed:
        if (vk != Vk::Escape && vk != Vk::F1)
            hooks.keyNotTaken();
        else
            keep(input.heldKey, vk, hooks);
        break;
    }
}

void holdButton(bool left, ShellHooks& hooks)
{
    switch (input.holdStretch) {
    case Stretch::Answer:
        if (keep(input.heldButton, left ? 1 : 2, hooks))
            input.holdCut = true;
        break;
    case Stretch::Ending: input.holdCut = true; break;
    case Stretch::Closing:
    case Stretch::Fixed: hooks.keyNotTaken(); break;
    }
}

void holdMenu(int id, ShellHooks& hooks)
{
    if (keep(input.heldMenu, id, hooks))
        input.holdCut = input.holdStretch != Stretch::Fixed;
}

bool takeHoldCut()
{
    // Something kept ends the stretch it waits on, even one that begins
    // after the key came (the closing sentence after Enter in an ending).
    const bool cut = input.holdCut || (!nothingKept() && input.holdStretch != Stretch::Fixed);
    input.holdCut = false;
    return cut;
}

void actOnHeldInput(Session& session, ShellHooks& hooks)
{
    input.holdCut = false;
    if (const int vk = std::exchange(input.heldKey, 0)) {
        keyDown(vk, session, hooks);
        // A kept key is not held down any more: its release came during the
        // hold.
        if (vk != Vk::Escape)
            keyUp(vk, session);
    }
    if (const int id = std::exchange(input.heldMenu, 0))
        menuCommand(id, session, hooks);
    if (const int button = std::exchange(input.heldButton, 0)) {
        // A click counts once, and only with steering on, as it would have.
        GameState* game = input.currentGame;
        if (game != nullptr && game->mouseActive)
            (button == 1 ? input.leftButtonDown : input.rightButtonDown) = true;
    }
}

void clearRequests()
{
    input.advanceRequested = false;
    input.leftRequested = false;
    input.centreRequested = false;
    input.rightRequested = false;
    input.leftButtonDown = false;
    input.rightButtonDown = false;
}
