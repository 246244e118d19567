"""The game's effects and music, each a sox effect chain synthesised from nothing.

A recipe gives the loudness its sound is brought to (RMS in dBFS) and the sox
arguments that make it, mono at the game's sample rate. Chains separated by
":" play one after the other. Looping recipes take the loop length in seconds.
Levels sit below the voice (-21 dBFS), and far below it for the growls
that play under a sentence, so that no effect drowns what is said.
"""

VOICE_RMS_DB = -21.0


def _notes(names, length, extra=""):
    """Plucked notes one after the other, each `length` seconds long."""
    return " : ".join(f"synth {length} pluck {n} {extra}".strip() for n in names)


def _chord(names, length):
    """Soft sine chord that swells in and out over `length` seconds."""
    tones = " ".join(f"sine {n}" for n in names)
    return f"synth {length} {tones} remix - fade h {length / 3:.3f} {length} {length / 3:.3f}"


def steps(_=None):
    # Two soft footfalls, heel then toe, short enough for one step a tenth of a second.
    return "synth 0.07 brownnoise lowpass 450 fade q 0.004 0.07 0.06 pad 0 0.12 repeat 1"


def wall_thud(_=None):
    return "synth 0.3 sine 70-40 synth 0.3 brownnoise mix lowpass 260 fade q 0.003 0.3 0.27"


def door_bump(_=None):
    # A hollow wooden thump, unlike the dull wall.
    return "synth 0.22 pluck 150 lowpass 1200 fade q 0.002 0.22 0.2 pad 0 0.06 repeat 1"


def alarm(_=None):
    # Two tones, high then low: the win's first sound, under its sentence.
    return "synth 0.28 square 988 lowpass 2500 fade q 0.01 0.28 0.02 : " \
           "synth 0.28 square 740 lowpass 2500 fade q 0.01 0.28 0.02"


def start_jingle(_=None):
    return _notes(["C5", "E5", "G5"], 0.13) + " : synth 0.6 pluck C6 fade q 0 0.6 0.4"


def calm_music(_=None):
    # Four slow chords under a plucked line, 16 seconds; every chord swells in
    # and out, so the loop joins at silence.
    chords = [["C3", "E3", "G3"], ["A2", "C3", "E3"], ["F2", "A2", "C3"], ["G2", "B2", "D3"]]
    line = ["E4", "G4", "C5", "G4", "C4", "E4", "A4", "E4",
            "C4", "F4", "A4", "F4", "D4", "G4", "B4", "G4"]
    pads = " : ".join(_chord(c, 4.0) for c in chords)
    return [pads, _notes(line, 1.0, "fade q 0 1.0 0.9") + " gain -8"]


def victory_music(_=None):
    chords = [["C4", "E4", "G4"], ["F3", "A3", "C4"], ["G3", "B3", "D4"], ["C4", "E4", "G4"]]
    line = ["C5", "E5", "G5", "C6", "A4", "C5", "F5", "A5",
            "B4", "D5", "G5", "B5", "C5", "G5", "E5", "C6"]
    pads = " : ".join(_chord(c, 2.0) for c in chords)
    return [pads + " gain -6", _notes(line, 0.5, "fade q 0 0.5 0.45")]


def door_knock(_=None):
    return "synth 0.08 pluck 120 lowpass 900 fade q 0.001 0.08 0.07 pad 0 0.1 repeat 1 pad 0 0.1"


def bullets_clink(_=None):
    return "synth 0.18 pluck 1760 pluck 2637 remix - fade q 0 0.18 0.16 pad 0 0.04 repeat 1 pad 0 0.1"


def door_creak(_=None):
    # Hinges turning: a train of clicks that speeds up, rung through two
    # wooden resonances.
    return ("synth 0.9 square 24-46 synth 0.9 sine amod 2 60 gain -6 "
            "bandpass 1100 400h bandpass 1800 900h fade q 0.05 0.9 0.15 pad 0 0.1")


def pick_up(_=None):
    return _notes(["E5", "A5"], 0.08) + " : synth 0.2 pluck E6 fade q 0 0.2 0.15 pad 0 0.1"


def _bang():
    # The report of the gun alone; what follows it says what the bullet met.
    return ("synth 0.22 whitenoise synth 0.22 sine mix 90-40 lowpass 3200 overdrive 8 "
            "fade q 0.001 0.22 0.2")


def _impact():
    # The bullet striking flesh: a short, dull slap.
    return ("synth 0.09 brownnoise synth 0.09 sine mix 160-70 lowpass 1000 overdrive 6 "
            "fade q 0.001 0.09 0.08")


def shot_miss(_=None):
    # The shot, then the bullet whining away: a falling, fading whistle.
    return _bang() + " : synth 0.5 sine 2800-900 tremolo 35 40 fade q 0.003 0.5 0.45 gain -6 pad 0 0.05"


def shot_hit(_=None):
    # The shot, the impact, then the creature's grunt: low, rough and short.
    return (_bang() + " : " + _impact() + " : "
            "synth 0.28 sawtooth 130-95 synth 0.28 sine amod 22 50 lowpass 700 "
            "fade q 0.02 0.28 0.15 pad 0 0.05")


def shot_kill(_=None):
    # The shot, the impact, a breath, then a body falling: a heavy thud and
    # a smaller one as it settles.
    return (_bang() + " : " + _impact() + " pad 0 0.12 : "
            "synth 0.35 brownnoise synth 0.35 sine mix 70-35 lowpass 280 fade q 0.002 0.35 0.3 : "
            "synth 0.2 brownnoise synth 0.2 sine mix 60-40 lowpass 220 fade q 0.002 0.2 0.18 "
            "gain -8 pad 0 0.1")


def blocked_step(_=None):
    # A step the creature ahead refuses: two low buzzes, "uh-uh", unlike the
    # wall's thud and the door's knock.
    return ("synth 0.08 square 220 lowpass 1500 fade q 0.005 0.08 0.03 pad 0 0.05 : "
            "synth 0.1 square 165 lowpass 1500 fade q 0.005 0.1 0.05 pad 0 0.05")


def empty_click(_=None):
    return "synth 0.015 square 1800 fade q 0.001 0.015 0.01 pad 0 0.25"


def monster_growl(length):
    # A low rumble pulsing four times a second.
    return f"synth {length} brownnoise synth {length} sine amod 4 70 lowpass 320"


def mutant_growl(length):
    # A wobbling buzz, higher than the monster's.
    return (f"synth {length} sawtooth 95 synth {length} sine fmod 5 25 "
            f"lowpass 900 tremolo 2.5 60")


def super_growl(length):
    # Deep, rough and slow: the one to fear.
    return (f"synth {length} square 48 brownnoise remix - synth {length} sine amod 1.5 80 "
            f"lowpass 420 overdrive 15")


def trap(_=None):
    # Short enough that "Has sido atrapado" starts within a second.
    return ("synth 0.12 pluck 330 pluck 466 remix - : "
            "synth 0.55 square 600-90 lowpass 1500 fade q 0 0.55 0.4 pad 0 0.08")


def life_lost(_=None):
    # Two falling notes, low and short: something was taken.
    return _notes(["A4", "E4"], 0.16) + " : synth 0.3 pluck C4 fade q 0 0.3 0.25 pad 0 0.1"


def key_tick(_=None):
    # A key not taken: one soft, short click, quieter than any other sound.
    return "synth 0.025 sine 1400 fade q 0.002 0.025 0.02 pad 0 0.1"


# name: (loudness in dBFS, recipe)
RECIPES = {
    "steps": (-24.0, steps),
    "wall_thud": (-20.0, wall_thud),
    "door_bump": (-21.0, door_bump),
    "alarm": (-22.0, alarm),
    "start_jingle": (-22.0, start_jingle),
    "calm_music": (-32.0, calm_music),
    "victory_music": (-28.0, victory_music),
    "door_knock": (-22.0, door_knock),
    "bullets_clink": (-25.0, bullets_clink),
    "door_creak": (-24.0, door_creak),
    "pick_up": (-24.0, pick_up),
    "shot_miss": (-21.0, shot_miss),
    "shot_hit": (-21.0, shot_hit),
    "shot_kill": (-21.0, shot_kill),
    "blocked_step": (-24.0, blocked_step),
    "empty_click": (-26.0, empty_click),
    "monster_growl": (-30.0, monster_growl),
    "mutant_growl": (-31.0, mutant_growl),
    "super_growl": (-29.0, super_growl),
    "trap": (-21.0, trap),
    "key_tick": (-30.0, key_tick),
    "life_lost": (-22.0, life_lost),
}
