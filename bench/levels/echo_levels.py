#!/usr/bin/env python3
"""How loud the accompaniment sounds against the melody at the window's default echo levels
(6 and 5) and at lower ones, on the demo and a set of public-domain folk tunes written out
below. Each song goes through the chain as the window runs it on a first run: Ambrel, Sorvik
(Auto Detect Keys), Tressil, then Compose with the window's first-run settings (tools/firstrun),
the first library style of the song's time signature in all five slots; only the two echo level
tokens change between the variants. The output is rendered with FluidSynth and the General MIDI
sound font (tools/partlevels); a level is the active RMS of the melody (channel 1) and of the
whole accompaniment (every other channel). Prints one line a song and the medians.

Usage: echo_levels.py [build folder] [LEVEL1,LEVEL2 ...]   (default variants: 6,5 5,4 4,3 3,2)
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "composer"))
from time_compose import vlq  # noqa: E402  the variable-length numbers

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TICKS = 384
VERSION = 2426
SORVIK_HANDSHAKE = 31470952
FIRST_STYLE = {"2/4": "Mr2431", "3/4": "Wz3431", "4/4": "8B4431", "6/8": "Bd6831"}

# name, time signature, key (sharps > 0, flats < 0), tempo, pickup in quarter notes, notes as
# "pitch:quarters" ("R" a rest). Sung melodies, as a user would bring them, one or two verses.
TUNES = [
    ("twinkle", "4/4", 0, 100, 0,
     "C4:1 C4:1 G4:1 G4:1 A4:1 A4:1 G4:2 F4:1 F4:1 E4:1 E4:1 D4:1 D4:1 C4:2 "
     "G4:1 G4:1 F4:1 F4:1 E4:1 E4:1 D4:2 G4:1 G4:1 F4:1 F4:1 E4:1 E4:1 D4:2 "
     "C4:1 C4:1 G4:1 G4:1 A4:1 A4:1 G4:2 F4:1 F4:1 E4:1 E4:1 D4:1 D4:1 C4:2"),
    ("frere-jacques", "4/4", -1, 110, 0,
     "F4:1 G4:1 A4:1 F4:1 F4:1 G4:1 A4:1 F4:1 A4:1 Bb4:1 C5:2 A4:1 Bb4:1 C5:2 "
     "C5:0.5 D5:0.5 C5:0.5 Bb4:0.5 A4:1 F4:1 C5:0.5 D5:0.5 C5:0.5 Bb4:0.5 A4:1 F4:1 "
     "F4:1 C4:1 F4:2 F4:1 C4:1 F4:2"),
    ("saints", "4/4", 0, 132, 1,
     "C4:1 E4:1 F4:1 G4:5 C4:1 E4:1 F4:1 G4:5 C4:1 E4:1 F4:1 G4:2 E4:2 C4:2 E4:2 D4:5 "
     "E4:1 E4:1 D4:1 C4:3 C4:1 E4:2 G4:2 G4:1 F4:4 E4:1 F4:1 G4:2 E4:2 C4:2 D4:2 C4:4"),
    ("susanna", "4/4", 0, 120, 0,
     "C4:0.5 D4:0.5 E4:1 G4:1 G4:1.5 A4:0.5 G4:1 E4:1 C4:1.5 D4:0.5 E4:1 E4:1 D4:1 C4:1 "
     "D4:2 C4:0.5 D4:0.5 E4:1 G4:1 G4:1.5 A4:0.5 G4:1 E4:1 C4:1.5 D4:0.5 E4:1 E4:1 D4:1 D4:1 "
     "C4:3 R:1 F4:2 F4:2 A4:1 A4:2 A4:1 G4:1 G4:1 E4:1 C4:1 D4:3 R:1 C4:0.5 D4:0.5 E4:1 G4:1 "
     "G4:1.5 A4:0.5 G4:1 E4:1 C4:1.5 D4:0.5 E4:1 E4:1 D4:1 D4:1 C4:4"),
    ("mary-lamb", "4/4", 0, 110, 0,
     "E4:1 D4:1 C4:1 D4:1 E4:1 E4:1 E4:2 D4:1 D4:1 D4:2 E4:1 G4:1 G4:2 "
     "E4:1 D4:1 C4:1 D4:1 E4:1 E4:1 E4:1 E4:1 D4:1 D4:1 E4:1 D4:1 C4:4"),
    ("jingle-bells", "4/4", 1, 120, 0,
     "B4:1 B4:1 B4:2 B4:1 B4:1 B4:2 B4:1 D5:1 G4:1.5 A4:0.5 B4:4 C5:1 C5:1 C5:1.5 C5:0.5 "
     "C5:1 B4:1 B4:1 B4:0.5 B4:0.5 B4:1 A4:1 A4:1 B4:1 A4:2 D5:2 B4:1 B4:1 B4:2 B4:1 B4:1 "
     "B4:2 B4:1 D5:1 G4:1.5 A4:0.5 B4:4 C5:1 C5:1 C5:1.5 C5:0.5 C5:1 B4:1 B4:1 B4:0.5 "
     "B4:0.5 D5:1 D5:1 C5:1 A4:1 G4:4"),
    ("auld-lang-syne", "4/4", -1, 84, 1,
     "C4:1 F4:1.5 F4:0.5 F4:1 A4:1 G4:1.5 F4:0.5 G4:1 A4:0.5 G4:0.5 F4:1.5 F4:0.5 A4:1 "
     "C5:1 D5:3 D5:1 C5:1.5 A4:0.5 A4:1 F4:1 G4:1.5 F4:0.5 G4:1 A4:0.5 G4:0.5 F4:1.5 D4:0.5 "
     "D4:1 C4:1 F4:3"),
    ("red-river", "4/4", 0, 96, 1,
     "G3:0.5 C4:0.5 E4:1 E4:1 E4:1 D4:1 E4:1 D4:1 C4:2.5 G3:0.5 C4:0.5 E4:1 C4:1 E4:1 G4:1 "
     "F4:1 E4:1 D4:2.5 G4:0.5 F4:0.5 E4:1 E4:1 D4:1 E4:1 F4:1 A4:2.5 A4:0.5 G4:0.5 F4:1 "
     "E4:1 E4:1 D4:1 E4:1 D4:1 C4:3"),
    ("amazing-grace", "3/4", 1, 80, 1,
     "D4:1 G4:2 B4:0.5 G4:0.5 B4:2 A4:1 G4:2 E4:1 D4:2 D4:1 G4:2 B4:0.5 G4:0.5 B4:2 A4:1 "
     "D5:5 B4:1 D5:2 B4:0.5 G4:0.5 B4:2 A4:1 G4:2 E4:1 D4:2 D4:1 G4:2 B4:0.5 G4:0.5 B4:2 "
     "A4:1 G4:5"),
    ("scarborough", "3/4", -1, 100, 0,
     "D4:2 D4:1 A4:2 A4:1 E4:1.5 F4:0.5 E4:1 D4:3 R:1 A4:1 C5:1 D5:2 C5:1 A4:1 B4:1 G4:1 "
     "A4:3 R:2 D5:1 D5:2 D5:1 C5:2 A4:1 A4:1 G4:1 F4:1 E4:1 C4:2 D4:2 A4:1 G4:2 F4:1 "
     "E4:1 D4:1 C4:1 D4:3"),
    ("brahms-lullaby", "3/4", 0, 90, 1,
     "E4:0.5 E4:0.5 G4:2 E4:0.5 E4:0.5 G4:2 E4:0.5 G4:0.5 C5:1 B4:1.5 A4:0.5 A4:1 G4:1 "
     "D4:0.5 E4:0.5 F4:1 D4:1 D4:0.5 E4:0.5 F4:2 D4:0.5 F4:0.5 B4:0.5 A4:0.5 G4:1 B4:1 "
     "C5:2 C4:0.5 C4:0.5 C5:2 A4:0.5 F4:0.5 G4:2 E4:0.5 C4:0.5 F4:1 G4:1 A4:1 G4:2 "
     "C4:0.5 C4:0.5 C5:2 A4:0.5 F4:0.5 G4:2 E4:0.5 C4:0.5 E4:1 D4:1 C4:1.5"),
    ("home-range", "3/4", -1, 110, 1,
     "C4:1 C4:1 F4:1 G4:1 A4:2 F4:0.5 E4:0.5 D4:1 Bb4:1 Bb4:1 Bb4:2 A4:1 Bb4:1 C5:2 "
     "F4:1 F4:1 F4:0.5 E4:0.5 F4:1 G4:3 R:2 C4:1 C4:1 F4:1 G4:1 A4:2 F4:0.5 E4:0.5 D4:1 "
     "Bb4:1 Bb4:1 Bb4:2 A4:1 Bb4:1 C5:2 F4:1 F4:1 E4:1 D4:1 E4:1 F4:3 R:2"),
    ("silent-night", "6/8", -2, 66, 0,
     "F4:1.5 G4:0.5 F4:1 D4:3 F4:1.5 G4:0.5 F4:1 D4:3 C5:2 C5:1 A4:3 Bb4:2 Bb4:1 F4:3 "
     "G4:2 G4:1 Bb4:1.5 A4:0.5 G4:1 F4:1.5 G4:0.5 F4:1 D4:3 G4:2 G4:1 Bb4:1.5 A4:0.5 G4:1 "
     "F4:1.5 G4:0.5 F4:1 D4:3 C5:2 C5:1 Eb5:1.5 C5:0.5 A4:1 Bb4:3 D5:3 Bb4:1 F4:1 D4:1 "
     "F4:1.5 Eb4:0.5 C4:1 Bb3:3"),
    ("row-boat", "6/8", 0, 72, 0,
     "C4:1.5 C4:1.5 C4:1 D4:0.5 E4:1.5 E4:1 D4:0.5 E4:1 F4:0.5 G4:3 C5:0.5 C5:0.5 C5:0.5 "
     "G4:0.5 G4:0.5 G4:0.5 E4:0.5 E4:0.5 E4:0.5 C4:0.5 C4:0.5 C4:0.5 G4:1 F4:0.5 E4:1 "
     "D4:0.5 C4:3 C4:1.5 C4:1.5 C4:1 D4:0.5 E4:1.5 E4:1 D4:0.5 E4:1 F4:0.5 G4:3 C5:0.5 "
     "C5:0.5 C5:0.5 G4:0.5 G4:0.5 G4:0.5 E4:0.5 E4:0.5 E4:0.5 C4:0.5 C4:0.5 C4:0.5 G4:1 "
     "F4:0.5 E4:1 D4:0.5 C4:3"),
    ("greensleeves", "6/8", 0, 60, 0,
     "A4:1 C5:2 D5:1 E5:1.5 F5:0.5 E5:1 D5:2 B4:1 G4:1.5 A4:0.5 B4:1 C5:2 A4:1 A4:1.5 "
     "G#4:0.5 A4:1 B4:2 G#4:1 E4:2 A4:1 C5:2 D5:1 E5:1.5 F5:0.5 E5:1 D5:2 B4:1 G4:1.5 "
     "A4:0.5 B4:1 C5:1.5 B4:0.5 A4:1 G#4:1.5 F#4:0.5 G#4:1 A4:3 A4:3"),
    ("yankee-doodle", "2/4", 1, 120, 0,
     "G4:0.5 G4:0.5 A4:0.5 B4:0.5 G4:0.5 B4:0.5 A4:0.5 D4:0.5 G4:0.5 G4:0.5 A4:0.5 B4:0.5 "
     "G4:1 F#4:1 G4:0.5 G4:0.5 A4:0.5 B4:0.5 C5:0.5 B4:0.5 A4:0.5 G4:0.5 F#4:0.5 D4:0.5 "
     "E4:0.5 F#4:0.5 G4:1 G4:1 E4:0.75 F#4:0.25 E4:0.5 D4:0.5 E4:0.5 F#4:0.5 G4:1 "
     "D4:0.75 E4:0.25 D4:0.5 C4:0.5 B3:1 D4:1 E4:0.75 F#4:0.25 E4:0.5 D4:0.5 E4:0.5 "
     "F#4:0.5 G4:0.5 E4:0.5 D4:0.5 G4:0.5 F#4:0.5 A4:0.5 G4:1 G4:1"),
    ("camptown", "2/4", 2, 126, 0,
     "A4:0.5 A4:0.5 F#4:0.5 A4:0.5 B4:0.5 A4:0.5 F#4:1 F#4:0.5 E4:1.5 F#4:0.5 E4:1.5 "
     "A4:0.5 A4:0.5 F#4:0.5 A4:0.5 B4:0.5 A4:0.5 F#4:1 E4:0.5 F#4:0.25 E4:0.25 D4:1.5 R:0.5 "
     "D4:0.75 D4:0.25 F#4:0.5 A4:0.5 D5:2 B4:0.75 B4:0.25 D5:0.5 B4:0.5 A4:1.5 F#4:0.5 "
     "A4:0.5 A4:0.5 F#4:0.5 F#4:0.5 A4:0.5 A4:0.5 F#4:0.5 A4:0.5 B4:0.5 A4:0.5 F#4:1 "
     "E4:0.5 F#4:0.5 E4:0.5 D4:0.5 D4:2"),
    ("drunken-sailor", "2/4", -1, 120, 0,
     "A4:0.5 A4:0.25 A4:0.25 A4:0.5 A4:0.25 A4:0.25 A4:0.5 D4:0.5 F4:0.5 A4:0.5 "
     "G4:0.5 G4:0.25 G4:0.25 G4:0.5 G4:0.25 G4:0.25 G4:0.5 C4:0.5 E4:0.5 G4:0.5 "
     "A4:0.5 A4:0.25 A4:0.25 A4:0.5 A4:0.25 A4:0.25 A4:0.5 B4:0.5 C5:0.5 D5:0.5 "
     "C5:0.5 A4:0.5 G4:0.5 E4:0.5 D4:1 D4:1 "
     "A4:0.5 A4:0.25 A4:0.25 A4:0.5 A4:0.25 A4:0.25 A4:0.5 D4:0.5 F4:0.5 A4:0.5 "
     "G4:0.5 G4:0.25 G4:0.25 G4:0.5 G4:0.25 G4:0.25 G4:0.5 C4:0.5 E4:0.5 G4:0.5 "
     "A4:0.5 A4:0.25 A4:0.25 A4:0.5 A4:0.25 A4:0.25 A4:0.5 B4:0.5 C5:0.5 D5:0.5 "
     "C5:0.5 A4:0.5 G4:0.5 E4:0.5 D4:1 D4:1"),
]

NOTE_NAMES = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def pitch(name):
    step, rest = NOTE_NAMES[name[0]], name[1:]
    while rest and rest[0] in "#b":
        step += 1 if rest[0] == "#" else -1
        rest = rest[1:]
    return 12 * (int(rest) + 1) + step


def tune_song(meter, key, tempo, pickup, notes):
    """A format 1 song at 384 ticks per quarter note: the conductor track and the melody on
    channel 1, each measure's first note a little louder, as the demo has it."""
    numerator, denominator = (int(x) for x in meter.split("/"))
    measure = TICKS * 4 * numerator // denominator
    conductor = (b"\x00\xFF\x58\x04" + bytes([numerator, denominator.bit_length() - 1, 96, 8]) +
                 b"\x00\xFF\x59\x02" + bytes([key & 0xFF, 0]) +
                 b"\x00\xFF\x51\x03" + (60000000 // tempo).to_bytes(3, "big") + b"\x00\xFF\x2F\x00")
    melody = bytearray()
    at = (measure - int(pickup * TICKS)) % measure if pickup else 0
    last = 0
    for token in notes.split():
        name, quarters = token.split(":")
        length = int(float(quarters) * TICKS)
        if name != "R":
            note = pitch(name)
            velocity = 100 if at % measure == 0 else 80
            melody += vlq(at - last) + bytes([0x90, note, velocity])
            melody += vlq(length * 15 // 16) + bytes([0x80, note, 64])
            last = at + length * 15 // 16
        at += length
    melody += vlq(0) + b"\xFF\x2F\x00"
    header = b"MThd\x00\x00\x00\x06\x00\x01\x00\x02" + TICKS.to_bytes(2, "big")
    return (header + b"MTrk" + len(conductor).to_bytes(4, "big") + conductor +
            b"MTrk" + len(melody).to_bytes(4, "big") + bytes(melody))


def run(build, folder, args):
    """A worker through runworker; returns its completion code, or raises with its report."""
    result = subprocess.run([os.path.join(build, "devtools", "runworker"), folder] + args,
                            capture_output=True, text=True, check=False)
    lines = dict(line.split(": ", 1) for line in result.stdout.splitlines() if ": " in line)
    completion = lines.get("completion", "none").split()
    if completion[0] == "none" or completion[2] != "0x00000000" or lines.get("exit") != "0":
        raise RuntimeError("%s: %s" % (os.path.basename(args[0]), result.stdout.strip()))
    return int(completion[1])


def levels(build, song):
    """{channel mix: active dBFS} of a decoded song: the melody and the accompaniment."""
    out = subprocess.run([os.path.join(build, "devtools", "partlevels"), song, "1-1", "2-16"],
                         capture_output=True, text=True, check=True).stdout
    found = {}
    for line in out.splitlines():
        words = line.split()
        if words[0] == "channels":
            found[words[1].rstrip(":")] = float(words[-1])
    return found


def accompaniment_over_melody(build, work, name, song_bytes, variants):
    """The accompaniment's level over the melody's, in dB, for each pair of echo levels."""
    folder = os.path.join(work, name)
    shutil.copytree(os.path.join(build, "bin"), folder)
    with open(os.path.join(folder, "InPut.bin"), "wb") as f:
        f.write(song_bytes)
    run(build, folder, [os.path.join(folder, "Ambrel"), "/2", "InPut.bin", "{hwnd}", str(VERSION)])
    with open(os.path.join(folder, "Notes.aco")) as f:
        _, _, _, _, tempo, meter = f.readline().strip().split(",")
    run(build, folder, ["/bin/sh", "-c", "exec ./Sorvik {hwnd} %d $(( {hwnd} + %d + %d )) 1"
                        % (VERSION, SORVIK_HANDSHAKE, VERSION)])
    chord_key = run(build, folder, [os.path.join(folder, "Tressil"), "3", "{hwnd}",
                                    str(VERSION), "0"])
    style = FIRST_STYLE[meter] + ".sty"
    tokens = subprocess.run([os.path.join(build, "devtools", "firstrun"), folder, tempo,
                             str(chord_key)] + [style] * 5,
                            capture_output=True, text=True, check=True).stdout.split()
    result = []
    for echo in variants:
        # Tokens 2 and 3 of the composer's line are the echo levels the sliders set.
        tokens[1], tokens[2] = (str(level) for level in echo)
        code = run(build, folder, [os.path.join(folder, "Compose")] + tokens)
        decoded = os.path.join(folder, "song-%d-%d.mid" % echo)
        subprocess.run([os.path.join(build, "devtools", "decodeout"),
                        os.path.join(folder, "ComposeOut.bin"), str(code + 1), decoded],
                       check=True)
        found = levels(build, decoded)
        result.append(found["2-16"] - found["1-1"])
    return meter, result


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build"))
    variants = [tuple(int(x) for x in v.split(",")) for v in sys.argv[2:]] or [
        (6, 5), (5, 4), (4, 3), (3, 2)]
    with open(os.path.join(build, "demo", "OdeToJoy.mid"), "rb") as f:
        songs = [("ode-to-joy (demo)", f.read())]
    songs += [(name, tune_song(meter, key, tempo, pickup, notes))
              for name, meter, key, tempo, pickup, notes in TUNES]
    work = tempfile.mkdtemp(prefix="orvella-levels.")
    try:
        print("accompaniment over melody, dB, at echo levels " +
              "  ".join("%d/%d" % v for v in variants))
        table = []
        for name, song in songs:
            meter, row = accompaniment_over_melody(build, work, name.split()[0], song, variants)
            table.append(row)
            print("%-20s %s  %s" % (name, meter, "  ".join("%+5.1f" % d for d in row)))
        medians = [statistics.median(column) for column in zip(*table)]
        print("%-20s      %s  (%d songs)" % ("median", "  ".join("%+5.1f" % d for d in medians),
                                            len(table)))
    finally:
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
