"""Speaking, synthesising, mixing and placing one sound file with espeak-ng and sox.

Every file of the game is 16-bit PCM at one sample rate in a plain RIFF/WAVE
file (a 16-byte fmt chunk, then the data), which is what sox and espeak-ng
write for such files. sox always runs with -R so that dither and noise repeat
from run to run and the same inputs give the same bytes.
"""

import array
import os
import re
import shlex
import subprocess
import wave

from sound_recipes import RECIPES, VOICE_RMS_DB

RATE = 22050
# The voice: espeak-ng's Latin American Spanish, as the game's texts are, at
# 145 words a minute, slow and clear enough for a child. Both can be chosen
# when the project is configured (see the README).
VOICE = "es-419"
VOICE_SPEED = 145
# A sample this far above silence (-40 dBFS) counts as speech when the
# generator notes where each file speaks.
SPEECH_THRESHOLD = 328
LOOP_GAP = 1.0     # seconds of growl alone after each sentence of a loop
LOOP_FADE = 0.015  # loop ends fade to silence so the repeat does not click
PEAK_CEILING_DB = -1.0
FORMAT = ["-r", str(RATE), "-b", "16", "-e", "signed-integer"]

# Gains of (left, right) for each placement. The far ear keeps a quarter of
# the level: the side is plain, and a player who hears with one ear only still
# hears every sentence.
PLACEMENTS = {
    "C": (0.7071, 0.7071),
    "L": (1.0, 0.25),
    "R": (0.25, 1.0),
}


class SoundError(Exception):
    pass


def _run(args):
    result = subprocess.run(args, capture_output=True, text=True)
    if result.returncode != 0:
        raise SoundError(f"{shlex.join(args)}: {result.stderr.strip()}")
    return result.stderr


def _sox(*args):
    return _run(["sox", "-R", "-V1", *args])


def measure(path):
    """(RMS, peak) of a file in dBFS, both channels together."""
    text = _run(["sox", path, "-n", "stats"])
    rms = re.search(r"^RMS lev dB\s+(\S+)", text, re.M)
    peak = re.search(r"^Pk lev dB\s+(\S+)", text, re.M)
    if not rms or not peak:
        raise SoundError(f"cannot measure {path}")
    return float(rms.group(1)), float(peak.group(1))


def level(src, dst, target_rms):
    """Brings a file to the target loudness, lowered if its peaks would clip."""
    rms, peak = measure(src)
    gain = target_rms - rms
    if peak + gain > PEAK_CEILING_DB:
        gain = PEAK_CEILING_DB - peak
    _sox(src, *FORMAT, dst, "gain", f"{gain:.2f}")


def speak(text, dst, work, speed=VOICE_SPEED):
    """The sentence with its silent ends cut short and its loud syllables
    pressed down, so that sentences long and short, loud and soft, come out
    equally loud once levelled."""
    raw = os.path.join(work, "spoken.wav")
    even = os.path.join(work, "even.wav")
    _run(["espeak-ng", "-v", VOICE, "-s", str(speed), "-w", raw, text])
    _sox(raw, even,
         "silence", "1", "0.01", "-50d", "reverse", "silence", "1", "0.01", "-50d", "reverse",
         "compand", "0.005,0.15", "6:-70,-70,-30,-20,0,-8", "-3", "-90", "0.005",
         "pad", "0.05", "0.15")
    level(even, dst, VOICE_RMS_DB)


def synthesise(name, dst, work, length=None):
    if name not in RECIPES:
        raise SoundError(f"unknown effect recipe {name!r}")
    target, recipe = RECIPES[name]
    chains = recipe(length)
    if isinstance(chains, str):
        chains = [chains]
    parts = []
    for i, chain in enumerate(chains):
        part = os.path.join(work, f"{name}.{i}.wav")
        _sox("-n", *FORMAT, "-c", "1", part, *shlex.split(chain))
        parts.append(part)
    raw = os.path.join(work, f"{name}.raw.wav")
    if len(parts) == 1:
        os.replace(parts[0], raw)
    else:
        _sox("-m", *[a for p in parts for a in ("-v", "1", p)], raw)
    level(raw, dst, target)


def speech_span(path):
    """(first, last) sample of a mono 16-bit file that is louder than silence,
    or None for a file that never is."""
    with wave.open(path, "rb") as w:
        if w.getsampwidth() != 2 or w.getnchannels() != 1:
            raise SoundError(f"{path}: the voice is expected as mono 16-bit")
        samples = array.array("h", w.readframes(w.getnframes()))
    loud = [i for i, v in enumerate(samples) if abs(v) > SPEECH_THRESHOLD]
    return (loud[0], loud[-1] + 1) if loud else None


def _sample_count(path):
    out = subprocess.run(["soxi", "-s", path], capture_output=True, text=True)
    if out.returncode != 0:
        raise SoundError(f"soxi {path}: {out.stderr.strip()}")
    return int(out.stdout)


def make_loop(voice, effect_name, dst, work):
    """The sentence over a growl that runs the whole loop, faded at both ends."""
    samples = _sample_count(voice) + int(LOOP_GAP * RATE)
    length = samples / RATE
    growl = os.path.join(work, "growl.wav")
    synthesise(effect_name, growl, work, length)
    mixed = os.path.join(work, "loop.wav")
    _sox("-m", "-v", "1", voice, "-v", "1", growl, mixed,
         "trim", "0", f"{samples}s",
         "fade", "q", str(LOOP_FADE), f"{samples}s", str(LOOP_FADE))
    os.replace(mixed, dst)


def place(src, dst, where):
    """Mono stays mono; C, L and R become stereo with the side's gains."""
    if where == "M":
        args = []
    elif where in PLACEMENTS:
        left, right = PLACEMENTS[where]
        args = ["remix", f"1v{left}", f"1v{right}"]
    else:
        raise SoundError(f"unknown placement {where!r}")
    staged = dst + ".part.wav"
    _sox(src, *FORMAT, staged, *args)
    _, peak = measure(staged)
    if peak > PEAK_CEILING_DB:
        _sox(staged, *FORMAT, "-t", "wav", dst, "gain", f"{PEAK_CEILING_DB - peak:.2f}")
        os.remove(staged)
    else:
        os.replace(staged, dst)


def build_sound(job, work):
    """Makes one file of the game folder from its sentence and effect.

    Returns the file's length and where it speaks, both in seconds: a list of
    (start, end) stretches, empty for an effect."""
    text, effect, layout, where, speed, dst = job
    body = os.path.join(work, "body.wav")
    voice = os.path.join(work, "voice.wav")
    span = None
    if text is not None:
        speak(text, voice, work, speed)
        span = speech_span(voice)
    # Where the sentence begins within the finished file, in samples.
    voice_at = 0
    if layout == "voice":
        os.replace(voice, body)
    elif layout == "effect":
        synthesise(effect, body, work)
    elif layout == "before":
        sound = os.path.join(work, "effect.wav")
        synthesise(effect, sound, work)
        voice_at = _sample_count(sound)
        _sox(sound, voice, body)
    elif layout == "after":
        # Silence as long as the effect that plays just before this file on
        # another channel, so the sentence starts when that sound has ended.
        sound = os.path.join(work, "effect.wav")
        synthesise(effect, sound, work)
        voice_at = _sample_count(sound)
        _sox(voice, body, "pad", f"{voice_at}s", "0")
    elif layout == "loop":
        make_loop(voice, effect, body, work)
    else:
        raise SoundError(f"unknown layout {layout!r}")
    stretches = []
    if span and layout != "effect":
        stretches.append(((voice_at + span[0]) / RATE, (voice_at + span[1]) / RATE))
    os.makedirs(os.path.dirname(dst), exist_ok=True)
    place(body, dst, where)
    return _sample_count(dst) / RATE, stretches
