"""Writes the catalogue: the C++ header the code names every sound file and
every sentence by, so that a file name or a sentence is written once, in
assets/, and the start check, the rules, the shell, the teacher's tools and
the tests all read the same table.

    catalogue.py --assets <assets dir> --out <header>

Every file of voice/texts.tsv and sounds/sounds.tsv becomes a constant named
after the file ("Sonidos/Nada.wav" is Nada, "SonidosLetras/borrar.wav"
LetrasBorrar), with the sentence its voice says and the sentence the screen
writes with it (voice/written.tsv); a sentence written with no voice of its
own is a constant named in written.tsv. Files numbered or lettered in a row
(the bullet count, the letters, the lives, the level titles) form arrays.
"""

import argparse
import os
import re
import sys

from tables import read_table

# The arrays: a pattern of file names, and the index its match gives.
FAMILIES = (
    ("kBulletCounts", r"Sonidos/(\d\d)__M\.wav", int),
    ("kLivesLeft", r"Sonidos/Vidas(\d)\.wav", lambda n: int(n) - 1),
    ("kLivesLeftAfterLoss", r"Sonidos/VidaPerdida(\d)\.wav", lambda n: int(n) - 1),
    ("kLevelTitles", r"Sonidos/TituloNivel(\d)\.wav", lambda n: int(n) - 1),
    ("kLetters", r"SonidosLetras/([a-z])\.wav", lambda c: ord(c) - ord("a")),
    ("kDigits", r"SonidosLetras/(\d)\.wav", int),
)
# Files whose name is no C++ name.
RENAMES = {"Sonidos/15X_M.wav": "BulletsOverFifteen"}
FOLDER_PREFIX = {"Sonidos": "", "SonidosSeteo": "", "SonidosLetras": "Letras"}


def cxx_string(text):
    """A C++ literal of the bytes, every byte outside printable ASCII in
    octal (an octal escape ends after three digits, a hex one does not)."""
    if text is None:
        return "nullptr"
    out = []
    for byte in text:
        ch = chr(byte)
        if ch in '"\\':
            out.append("\\" + ch)
        elif ch == "\n":
            out.append("\\n")
        elif 32 <= byte < 127:
            out.append(ch)
        else:
            out.append(f"\\{byte:03o}")
    return '"' + "".join(out) + '"'


def constant_name(file):
    if file in RENAMES:
        return RENAMES[file]
    folder, stem = file.split("/")[0], os.path.splitext(file.split("/")[-1])[0]
    prefix = FOLDER_PREFIX.get(folder)
    name = prefix + (stem[:1].upper() + stem[1:] if prefix else stem)
    if prefix is None or not re.fullmatch(r"[A-Za-z_][A-Za-z0-9_]*", name):
        raise SystemExit(f"{file}: no C++ name; add it to RENAMES or FAMILIES in {__file__}")
    return name


def read_lines(assets):
    """Every line of the catalogue by key (a file, or a name), in order:
    [file, spoken, written, why they differ]."""
    lines = {}
    for file, text in read_table(os.path.join(assets, "voice", "texts.tsv"), 2):
        lines[file] = [file, text, None, None]
    for file, _effect, _layout, _where in read_table(os.path.join(assets, "sounds", "sounds.tsv"), 4):
        lines.setdefault(file, [file, None, None, None])
    for key, written, voice in read_table(os.path.join(assets, "voice", "written.tsv"), 3):
        if "/" in key and key not in lines:
            raise SystemExit(f"written.tsv: {key} is in neither texts.tsv nor sounds.tsv")
        line = lines.setdefault(key, [None, None, None, None])
        if line[2] is not None:
            raise SystemExit(f"written.tsv: {key} is listed twice")
        line[2] = written
        if (voice == "-") != (line[1] is None):
            raise SystemExit(f"written.tsv: {key}: '-' is for a sentence no voice says, and only for it")
        line[3] = None if voice in ("=", "-") else voice
    return lines


def entry(line):
    file, spoken, written, differs = line
    fields = [
        cxx_string(file.encode("ascii") if file else None),
        cxx_string(spoken.encode("utf-8") if spoken else None),
        cxx_string((written + "\n").encode("cp1252") if written else None),
        cxx_string(written.encode("utf-8") if written else None),
        cxx_string(differs.encode("utf-8") if differs else None),
    ]
    return "{" + ", ".join(fields) + "}"


def split_families(lines):
    """The lines of each array in index order, and the lines left alone."""
    families = {name: {} for name, _, _ in FAMILIES}
    single = {}
    for key, line in lines.items():
        for name, pattern, index in FAMILIES:
            if match := re.fullmatch(pattern, key):
                families[name][index(match.group(1))] = line
                break
        else:
            single[key] = line
    for name, members in families.items():
        if sorted(members) != list(range(len(members))) or not members:
            raise SystemExit(f"{name}: the files of the array are not numbered in a row from the first")
    return families, single


HEADER = """// Made by assets/tools/catalogue.py from assets/voice/texts.tsv,
// assets/sounds/sounds.tsv and assets/voice/written.tsv: change those.
#pragma once

namespace catalogue {

// A sound file and the sentences that go with it; each field is null when
// there is none.
struct Line {
    const char* file;     // relative to the game folder; null for a sentence only written
    const char* spoken;   // what the voice says, UTF-8; null for an effect
    const char* written;  // what the screen writes: Windows-1252, ending in "\\n"
    const char* shown;    // the written sentence in UTF-8 without the "\\n", as reports are read
    const char* differs;  // why the voice says a word the screen does not write, if it does
};
"""


def header(lines):
    families, single = split_families(lines)
    names = {}
    for key in single:
        name = constant_name(key) if "/" in key else key
        if name in names or name in families:
            raise SystemExit(f"{key}: the name {name} is taken by {names.get(name, name)}")
        names[name] = key
    out = [HEADER]
    for name, key in names.items():
        out.append(f"inline constexpr Line {name}{entry(single[key])};\n")
    for name, members in families.items():
        out.append(f"\ninline constexpr Line {name}[{len(members)}] = {{\n")
        out.extend(f"    {entry(members[i])},\n" for i in range(len(members)))
        out.append("};\n")
    out.append("\n// Every line once: the start check and the tests go through them all.\n")
    out.append("inline constexpr const Line* kAll[] = {\n")
    out.extend(f"    &{name},\n" for name in names)
    for name, members in families.items():
        out.extend(f"    &{name}[{i}],\n" for i in range(len(members)))
    out.append("};\n\n}  // namespace catalogue\n")
    return "".join(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--assets", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    text = header(read_lines(args.assets))
    # Rewritten only when it changes, so that nothing is compiled again for nothing.
    try:
        with open(args.out, encoding="utf-8") as old:
            if old.read() == text:
                return 0
    except OSError:
        pass
    os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
    with open(args.out, "w", encoding="utf-8", newline="\n") as new:
        new.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
