"""Assembles the ready-to-run game folder: sounds, pictures, maps and bd/.

    build_game.py --assets <assets dir> --out <game dir> --font <ttf>
                  --manifest <file> [--voice NAME] [--speed WPM]
                  [--slow-speed WPM]
                  [--jobs N] [--stamp file]

A sound is made again only when its sentence, recipe, layout, placement or
the generator itself changed since it was last made (the manifest keeps a
digest of each one's inputs), so editing one sentence respeaks one file.
Sound files the tables no longer name are removed from the folder. Every
output depends only on its inputs, never on time, order or the number of jobs.

Every file that speaks is also made at the slow speed, under SLOW_FOLDER with
the same name ("Lento/Sonidos/Pasillo.wav"), for the teacher who chooses the
slow voice; effects have no slow copy.

Beside the sounds, SPEECH_TABLE lists every sound file with its length and the
stretches in which it speaks, so the game can keep two sentences from being
heard at once and the tests can check that it does.
"""

import argparse
import concurrent.futures
import hashlib
import json
import os
import shutil
import sys
import tempfile

import audio
import pictures
from tables import read_table

SOUND_FOLDERS = ("Sonidos", "SonidosLetras", "SonidosSeteo")
SPEECH_TABLE = "speech.tsv"
SLOW_FOLDER = "Lento"


def sound_jobs(assets, speed, slow_speed):
    """Every file to make: its name, and (text, effect, layout, placement,
    words a minute)."""
    texts = {}
    for name, text in read_table(os.path.join(assets, "voice", "texts.tsv"), 2):
        if name in texts:
            raise SystemExit(f"texts.tsv: {name} is listed twice")
        texts[name] = text
    jobs = {}
    for name, effect, layout, where in read_table(os.path.join(assets, "sounds", "sounds.tsv"), 4):
        text = texts.get(name)
        if layout != "effect" and text is None:
            raise SystemExit(f"sounds.tsv: {name} needs a sentence in texts.tsv")
        jobs[name] = (text if layout != "effect" else None, effect, layout, where, speed)
    for name, text in texts.items():
        jobs.setdefault(name, (text, None, "voice", "M", speed))
    for name in jobs:
        if name.split("/")[0] not in SOUND_FOLDERS or not name.endswith(".wav"):
            raise SystemExit(f"{name}: sounds go under {', '.join(SOUND_FOLDERS)}")
    slow = {f"{SLOW_FOLDER}/{name}": (*job[:4], slow_speed) for name, job in jobs.items() if job[0] is not None}
    return {**jobs, **slow}


def tools_digest():
    digest = hashlib.sha256()
    here = os.path.dirname(os.path.abspath(__file__))
    for name in ("audio.py", "sound_recipes.py"):
        with open(os.path.join(here, name), "rb") as source:
            digest.update(source.read())
    return digest.hexdigest()


def job_digest(job, tools):
    voice = [audio.VOICE, job[4]] if job[0] is not None else []
    return hashlib.sha256(json.dumps([job[:4], tools, voice]).encode()).hexdigest()


def build_one(name, job, out):
    with tempfile.TemporaryDirectory(prefix="quorvane-sound-") as work:
        return audio.build_sound((*job, os.path.join(out, name)), work)


def remove_stale_sounds(jobs, out):
    for folder in (*SOUND_FOLDERS, *(f"{SLOW_FOLDER}/{f}" for f in SOUND_FOLDERS)):
        path = os.path.join(out, folder)
        if not os.path.isdir(path):
            continue
        for name in os.listdir(path):
            if f"{folder}/{name}" not in jobs:
                os.remove(os.path.join(path, name))


def build_sounds(jobs, out, manifest_path, workers):
    """Makes the sounds whose inputs changed. The manifest keeps, for each
    sound made, the digest of its inputs, its length and where it speaks."""
    try:
        with open(manifest_path, encoding="utf-8") as f:
            made = json.load(f)
    except (OSError, ValueError):
        made = {}
    made = {n: m for n, m in made.items() if isinstance(m, dict)}
    tools = tools_digest()
    wanted = {name: job_digest(job, tools) for name, job in jobs.items()}
    todo = [n for n in sorted(jobs)
            if made.get(n, {}).get("digest") != wanted[n] or not os.path.isfile(os.path.join(out, n))]
    failures = []
    with concurrent.futures.ThreadPoolExecutor(max_workers=workers) as pool:
        futures = {pool.submit(build_one, n, jobs[n], out): n for n in todo}
        for future in concurrent.futures.as_completed(futures):
            name = futures[future]
            try:
                length, speech = future.result()
                made[name] = {"digest": wanted[name], "length": length, "speech": speech}
            except audio.SoundError as error:
                failures.append(f"{name}: {error}")
    made = {n: m for n, m in made.items() if n in jobs}
    with open(manifest_path, "w", encoding="utf-8") as f:
        json.dump(made, f, indent=0, sort_keys=True)
    if failures:
        raise SystemExit("\n".join(sorted(failures)))
    return len(todo), made


def write_speech_table(made, out):
    """One line a sound file: its name, its length, then the start and end of
    each spoken stretch, all in seconds."""
    lines = ["# file\tlength\tspeech start\tspeech end ... (seconds)\n"]
    for name in sorted(made):
        fields = [name, f"{made[name]['length']:.3f}"]
        for start, end in made[name]["speech"]:
            fields += [f"{start:.3f}", f"{end:.3f}"]
        lines.append("\t".join(fields) + "\n")
    path = os.path.join(out, SPEECH_TABLE)
    with open(path + ".part", "w", encoding="utf-8") as table:
        table.writelines(lines)
    os.replace(path + ".part", path)


def build_pictures(out, font):
    data = os.path.join(out, "Data")
    os.makedirs(data, exist_ok=True)
    pictures.write_bmp(os.path.join(data, "Font2.bmp"), pictures.font_sheet(font))
    pictures.write_bmp(os.path.join(data, "casilla.bmp"), pictures.map_tile())


def copy_maps(assets, out):
    maps = os.path.join(assets, "maps")
    for name in sorted(os.listdir(maps)):
        if name.endswith(".quorvane"):
            shutil.copyfile(os.path.join(maps, name), os.path.join(out, name))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--assets", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--font", required=True)
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 1)
    parser.add_argument("--manifest", required=True,
                        help="where to keep the digests of the sounds made, outside the game folder")
    parser.add_argument("--voice", default=audio.VOICE, help="espeak-ng voice (es-419, es)")
    parser.add_argument("--speed", type=int, default=audio.VOICE_SPEED, help="words a minute")
    parser.add_argument("--slow-speed", type=int, default=110,
                        help="words a minute of the slow copy of every sentence")
    parser.add_argument("--stamp")
    args = parser.parse_args()
    for speed in (args.speed, args.slow_speed):
        if not 80 <= speed <= 450:
            raise SystemExit(f"{speed} words a minute: espeak-ng speaks 80 to 450 words a minute")
    audio.VOICE = args.voice

    os.makedirs(args.out, exist_ok=True)
    os.makedirs(os.path.join(args.out, "bd"), exist_ok=True)
    jobs = sound_jobs(args.assets, args.speed, args.slow_speed)
    remove_stale_sounds(jobs, args.out)
    made, sounds = build_sounds(jobs, args.out, args.manifest, max(1, args.jobs))
    write_speech_table(sounds, args.out)
    build_pictures(args.out, args.font)
    copy_maps(args.assets, args.out)
    print(f"game folder {args.out}: {made} sound files made")
    if args.stamp:
        with open(args.stamp, "w", encoding="utf-8") as stamp:
            stamp.write("done\n")


if __name__ == "__main__":
    sys.exit(main())
