"""Listens to the game from outside, as a screen reader does, over AT-SPI.

a11y_listener.py [--editor] <scripted level>, run by a11y_test.sh. Each
time the level reports an action, waits (bounded) until the game view -- a
canvas named "Quorvane" -- has sent what the action said as text inserted
into it, with a description change each and the latest sentence as its
description; then lets the level go on. With --editor the program is the map
editor, whose grid -- named "Mapa" -- speaks the same way. For the teacher's
settings it waits instead until the window and each of its controls are in
the tree with the name a screen reader says.
"""
import subprocess
import sys
import tempfile

import pyatspi
from gi.repository import GLib

SAID = {
    "ready": [],
    "name": ["Bienvenido a Quorvane, un laberinto que se juega con los o\u00eddos.",
             "Nivel 1: Aprende a jugar.", "Encuentra la salida."],
    "step": ["Avanzaste un paso."],
    "door": ["Avanzaste un paso.", "Hay una puerta al centro."],
    "open": ["Has abierto la puerta al centro."],
    "settings": [],
    "esc": ["\u00bfSalir? Presiona Esc otra vez para salir."],
}
# The map editor's script: the cursor moved, a code set, what is around.
EDITOR_SAID = {
    "ready": [],
    "down": ["Fila 2, casilla 1: pared"],
    "door": ["Fila 2, casilla 2: pared", "Fila 2, casilla 2: puerta a la izquierda",
             "Fila 2, casilla 3: pared", "Fila 2, casilla 3: pasillo"],
    "around": ["Fila 2, casilla 2: puerta a la izquierda",
               "Arriba: pared; abajo: pared; a la izquierda: pared; a la derecha: pasillo."],
    "undo": ["Deshecho. Fila 2, casilla 3: pared"],
}
VIEW_NAME = "Quorvane"
# The teacher's settings window and what a screen reader names its controls.
SETTINGS = ["Ajustes del maestro", "Velocidad de la voz", "Las criaturas cambian de lado cada", "Trampas",
            "Aceptar", "Cancelar"]
expected, inserted, described, view, failures = [], [], [], [], []


def is_view(obj):
    return obj is not None and obj.name == VIEW_NAME and obj.getRole() == pyatspi.ROLE_CANVAS


def on_event(event):
    if not is_view(event.source):
        return
    view[:] = [event.source]
    if event.type.startswith("object:text-changed:insert"):
        inserted.append(event.any_data)
        print("inserted:", repr(event.any_data), flush=True)
    else:  # Qt 6.4 sends the change without the text: it is read anew
        described.append(event.source.description)


def all_arrived():
    if not view:  # the game is ready once its view is in the tree
        for app in filter(None, pyatspi.Registry.getDesktop(0)):
            view.extend(filter(None, [pyatspi.findDescendant(app, is_view)]))
    return view and inserted == [s + "\n" for s in expected] and len(described) == len(expected) \
        and view[0].description == (expected[-1] if expected else "")


def settings_missing():
    """The settings window's names not yet in the tree. Qt names a combo box
    on Linux by the label it is labelled by (its own name is its value), as
    Orca reads it."""
    names = set()
    for app in filter(None, pyatspi.Registry.getDesktop(0)):
        dialog = pyatspi.findDescendant(
            app, lambda o: o is not None and o.getRole() == pyatspi.ROLE_DIALOG and o.name == SETTINGS[0])
        for obj in [dialog] + pyatspi.findAllDescendants(dialog, lambda o: o is not None) if dialog else []:
            names.add(obj.name)
            for relation in obj.getRelationSet():
                if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
                    names.update(relation.getTarget(i).name.rstrip(":") for i in range(relation.getNTargets()))
    return [name for name in SETTINGS if name not in names]


def fail(message):
    failures.append(message)
    pyatspi.Registry.stop()
    return False


def main():
    global SAID, VIEW_NAME
    if sys.argv[1] == "--editor":
        SAID, VIEW_NAME = EDITOR_SAID, "Mapa"
        del sys.argv[1]
    pyatspi.Registry.registerEventListener(
        on_event, "object:text-changed:insert", "object:property-change:accessible-description")
    # The program's own errors, shown with a failure: why it stopped.
    errors = tempfile.TemporaryFile(mode="w+")
    game = subprocess.Popen(sys.argv[1:], stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=errors, text=True)

    def on_action(source, condition):
        action = game.stdout.readline().strip()
        if not action:
            if game.wait() != 0 or len(expected) != sum(map(len, SAID.values())):
                return fail(f"the scripted level ended early, with {game.returncode}")
            pyatspi.Registry.stop()
            return False
        expected.extend(SAID[action])
        waited = [0]

        def check():
            if all_arrived() and (action != "settings" or not settings_missing()):
                game.stdin.write("next\n")
                game.stdin.flush()
                return False
            waited[0] += 50
            return waited[0] < 10000 or fail(f"after {action}: {inserted} {described}, not {expected}"
                                             + (f"; not named: {settings_missing()}" if action == "settings" else ""))

        GLib.timeout_add(50, check)
        return True

    GLib.io_add_watch(game.stdout, GLib.PRIORITY_DEFAULT, GLib.IO_IN | GLib.IO_HUP, on_action)
    GLib.timeout_add_seconds(120, lambda: fail("the level took too long"))
    pyatspi.Registry.start()
    if game.poll() is None:
        game.kill()
    for message in failures:
        print("FAIL:", message, file=sys.stderr)
    if failures:
        errors.seek(0)
        print("The program's standard error:", errors.read()[-4000:], sep="\n", file=sys.stderr)
    return 1 if failures else 0


sys.exit(main())
