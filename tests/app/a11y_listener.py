"""Listens from outside the game, as a screen reader does, over AT-SPI.

Run by a11y_test.sh inside its own D-Bus session with the accessibility bus
up: a11y_listener.py <scripted level program>. Once the game view is in the
accessibility tree (named "Quorvane", a canvas), it lets the scripted level
act, and after each action waits until the view has sent every sentence that
action says as text inserted into the view (what Orca speaks and shows in
braille for the focused element), with a description change each, and its
description is the latest sentence. Every wait is bounded.
"""
import subprocess
import sys

import pyatspi
from gi.repository import GLib

# What each action of the scripted level says, in order.
EXPECTED = {
    "ready": [],
    "name": [],
    "step": ["Avanzaste un paso."],
    "door": ["Avanzaste un paso.", "Hay una puerta al centro."],
    "open": ["Has abierto la puerta al centro."],
    "esc": ["¿Salir? Presiona Esc otra vez para salir."],
}
WAIT_MS = 10000
POLL_MS = 50

inserted = []
description_changes = [0]
expected = []
view = []
failures = []


def is_view(obj):
    return obj is not None and obj.name == "Quorvane" and obj.getRole() == pyatspi.ROLE_CANVAS


def on_event(event):
    try:
        if not is_view(event.source):
            return
    except Exception:  # the source went away
        return
    if event.type.startswith("object:text-changed:insert"):
        inserted.append(str(event.any_data))
        print("inserted:", repr(event.any_data), flush=True)
    else:
        # Qt 6.4 sends the change without the new text: it is read anew.
        description_changes[0] += 1


def find_view():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None:
            found = pyatspi.findDescendant(app, is_view)
            if found is not None:
                return found
    return None


def fail(message):
    failures.append(message)
    pyatspi.Registry.stop()
    return False


def all_said():
    if not view:
        view.extend(filter(None, [find_view()]))
    return (view and inserted == [s + "\n" for s in expected]
            and description_changes[0] == len(expected)
            and (not expected or view[0].description == expected[-1]))


def await_sentences(game, action):
    """Polls until the sentences said so far have arrived, then lets the game go on."""
    waited = [0]

    def check():
        if all_said():
            game.stdin.write("next\n")
            game.stdin.flush()
            return False
        waited[0] += POLL_MS
        if waited[0] > WAIT_MS:
            described = view[0].description if view else "(no view in the tree)"
            return fail(f"after '{action}': inserted {inserted}, described {described!r}, "
                        f"{description_changes[0]} description changes, expected {expected}")
        return True

    GLib.timeout_add(POLL_MS, check)


def main():
    pyatspi.Registry.registerEventListener(
        on_event, "object:text-changed:insert", "object:property-change:accessible-description")
    game = subprocess.Popen(sys.argv[1:], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)

    def on_output(source, condition):
        line = game.stdout.readline()
        if not line:
            game.wait()
            if game.returncode != 0:
                return fail(f"the scripted level ended with {game.returncode}")
            if expected != [s for said in EXPECTED.values() for s in said]:
                return fail("the scripted level ended before it was played")
            pyatspi.Registry.stop()
            return False
        action = line.strip()
        if action not in EXPECTED:
            return fail(f"unknown action '{action}'")
        expected.extend(EXPECTED[action])
        await_sentences(game, action)
        return True

    GLib.io_add_watch(game.stdout, GLib.PRIORITY_DEFAULT, GLib.IO_IN | GLib.IO_HUP, on_output)
    GLib.timeout_add_seconds(120, lambda: fail("the whole level took too long"))
    pyatspi.Registry.start()
    if game.poll() is None:
        game.kill()
        game.wait()
    for message in failures:
        print("FAIL:", message, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
