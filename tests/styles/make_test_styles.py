#!/usr/bin/env python3
"""Writes the test style descriptions of this folder (one .txt per style).

The test styles are compiled at build time into <build>/test-styles/. Together they give
every part generator of the composer something to play, in each of the four time signatures:

  code  version  steps/quarter  what it is for
  Ob..  05       8              old style: plain drum and chord parts, modes 0-9 by section code
  Md..  12       12             12-step style below version 20 (first style key)
  Kd..  25       12             second style key; a StyleFlag1 track (key-relative chord part)
  Lt..  30       12             late style: drum and chord parts with note lengths and offsets
  Nw..  31       12             new style: 16 modes chosen by section and Normal step, one-note
                                bass (base -36), StyleFlag1 track
  Nx..  35       12             a second new style, so that five different 12-step styles exist

Each style has four melodic tracks (channels 1-4: bass, chords, arpeggio, pad) and a drum
track on channel 9; every melodic track carries sounds for play mode 0 and for modes 1-3 and a
default play mode, so one style serves every play mode. Styles before version 30 release every
note in its mode; later ones give note lengths instead.

Run it from this folder after changing it; the .txt files are kept in the tree as the sources.
"""

import os

TIME_SIGNATURES = {"24": (2, False), "34": (3, False), "44": (4, False), "68": (3, True)}

STYLES = [
    # code prefix, version, purpose
    ("Ob", 5, "old 8-step"),
    ("Md", 12, "12-step v12"),
    ("Kd", 25, "v25 key-relative pad"),
    ("Lt", 30, "late v30"),
    ("Nw", 31, "new v31"),
    ("Nx", 35, "new v35"),
]

# Section roles of the modes: old styles take the section code as the mode, new styles map
# sections onto 16 modes (see GetInst31Mode).
OLD_ROLES = ["normal", "variation", "break", "intro", "intro", "normal", "stop", "break",
             "ending", "pause"]
NEW_ROLES = ["intro", "intro", "break", "variation", "normal", "normal", "normal", "normal",
             "normal", "normal", "normal", "normal", "break", "variation", "break", "ending"]

KICK, SNARE, HAT, OPEN_HAT, CRASH, RIM = 36, 38, 42, 46, 49, 37


class Grid:
    """The lanes of one mode: column -> {step: token}."""

    def __init__(self, steps):
        self.steps = steps
        self.lanes = {}

    def put(self, column, step, token):
        lane = self.lanes.setdefault(column, {})
        if 0 <= step < self.steps and step not in lane:
            lane[step] = token
            return True
        return False

    def text(self, per_beat):
        lines = []
        for column in sorted(self.lanes):
            lane = self.lanes[column]
            tokens = []
            for step in range(self.steps):
                if step > 0 and step % per_beat == 0:
                    tokens.append("|")
                tokens.append(lane.get(step, "."))
            lines.append("    lane %d: %s" % (column, " ".join(tokens)))
        return lines


def note_of(token):
    head = token.lstrip("-")
    digits = ""
    for c in head:
        if not c.isdigit():
            break
        digits += c
    return digits


def add_note(grid, column, step, token, length, late):
    """A note with its end: a release cell in old styles, a note length in late ones."""
    if step >= grid.steps - 1:
        return
    if late:
        if "v" not in token:  # a length needs a velocity field in front of it
            digits = note_of(token)
            token = token.replace(digits, digits + "v90", 1)
        grid.put(column, step, "%s:%d" % (token, max(1, min(99, length))))
        return
    end = min(step + max(1, length), grid.steps - 1)
    lane = grid.lanes.get(column, {})
    # The release must come before the lane's next note and fall on a free step.
    for later in sorted(s for s in lane if s > step):
        end = min(end, later - 1)
    while end > step and end in lane:
        end -= 1
    if end <= step:
        return
    if grid.put(column, step, token):
        grid.put(column, end, "-" + note_of(token))


def beat_steps(beats, compound, spq, steps):
    if compound:  # 6/8: two dotted quarters
        return [0, steps // 2]
    return [b * spq for b in range(beats)]


def drum_mode(role, index, beats, compound, spq, late):
    steps = beats * spq
    g = Grid(steps)
    eighth = spq // 2
    sixteenth = spq // 4
    main = beat_steps(beats, compound, spq, steps)
    vel = 90 + 5 * (index % 4)
    swing = "@%d" % (spq // 4 + index % 3) if late else ""
    if role == "pause":
        return g
    if role in ("stop", "ending"):
        add_note(g, 4, 0, "%dv110" % CRASH, steps - 2, late)
        add_note(g, 0, 0, "%dv120" % KICK, eighth, late)
        return g
    if role == "intro":
        for s in range(0, steps, eighth):
            add_note(g, 2, s, "%dv70" % HAT, 1, late)
        add_note(g, 5, main[-1], "%dv80" % RIM, 1, late)
        return g
    # normal, variation, break: kick on the first beat (and the middle), snare on the others
    add_note(g, 0, 0, "%dv%d" % (KICK, vel), 2, late)
    if beats == 4 or compound:
        add_note(g, 0, steps // 2, str(KICK), 2, late)
    for s in main[1:]:
        add_note(g, 1, s, "%d" % SNARE, 2, late)
    for s in range(0, steps, eighth):
        token = "%dv%d%s" % (HAT, 60 + (s // eighth) % 2 * 20, swing if s % spq else "")
        add_note(g, 2, s, token, 1, late)
    if role == "variation" or index % 2 == 1:
        add_note(g, 3, steps - eighth, str(OPEN_HAT), 1, late)
    if role == "break":
        add_note(g, 4, 0, "%dv100" % CRASH, eighth, late)
        for s in range(steps - spq, steps - 1, sixteenth):
            add_note(g, 1 if (s // sixteenth) % 2 == 0 else 6, s, "%dv%d" % (SNARE, 70 + s % 40),
                     1, late)
    return g


def bass_mode(role, index, beats, compound, spq, late):
    steps = beats * spq
    g = Grid(steps)
    if role == "pause":
        return g
    main = beat_steps(beats, compound, spq, steps)
    if role in ("stop", "ending"):
        add_note(g, 0, 0, "6v100", steps - 2, late)
        return g
    degrees = ["6", "1", "6", "13"] if role != "break" else ["6", "8", "10", "11"]
    for i, s in enumerate(main):
        token = degrees[i % len(degrees)] + ("v%d" % (85 + index) if i == 0 else "")
        add_note(g, 0, s, token, spq - 1 if role != "intro" else spq // 2, late)
    return g


def chord_mode(role, index, beats, compound, spq, late):
    steps = beats * spq
    g = Grid(steps)
    if role == "pause":
        return g
    main = beat_steps(beats, compound, spq, steps)
    chord = ["6", "10", "13"] if role != "variation" else ["6", "9", "12", "8"]
    if role in ("stop", "ending"):
        for c, d in enumerate(chord):
            add_note(g, c, 0, d + "v95", steps - 2, late)
        return g
    hits = main if role != "intro" else main[:1]
    offset = "@%d" % (index % 5) if late and index % 5 else ""
    for s in hits:
        for c, d in enumerate(chord):
            add_note(g, c, s + (spq // 2 if role == "break" else 0), d + "v%d%s" % (80 + c * 5, offset),
                     spq // 2, late)
    return g


def arpeggio_mode(role, index, beats, compound, spq, late):
    steps = beats * spq
    g = Grid(steps)
    if role == "pause":
        return g
    eighth = spq // 2
    figure = ["6", "10", "13", "18"] if role != "variation" else ["18", "13", "10", "6"]
    if role in ("stop", "ending"):
        add_note(g, 0, 0, "18v90", steps - 2, late)
        return g
    step = eighth if role != "break" else spq // 4
    for i, s in enumerate(range(0, steps, step)):
        add_note(g, i % 2, s, figure[i % len(figure)] + ("v%d" % (70 + i % 4 * 10)), step - 1, late)
    return g


def pad_mode(role, index, beats, compound, spq, late, key_relative):
    steps = beats * spq
    g = Grid(steps)
    if role == "pause":
        return g
    notes = ["60", "64", "67"] if key_relative else ["6", "10", "13"]
    half = steps // 2 if role in ("break", "variation") else steps - 2
    for c, n in enumerate(notes):
        token = n + "v%d" % (60 + 5 * c)
        if key_relative and not late:
            # The key-relative part holds its notes by length; before version 30 the mode
            # still needs the releases that balance it.
            token += ":%d" % min(99, half)
        add_note(g, c, 0, token, half, late)
    return g


TRACKS = [
    # name, channel, base, chord sound, pattern sound, sustain, register, playmode, maker
    ("Bass", 1, -12, (33, 100, 64, 10), (32, 96, 60, 10), 0, "1", 0, bass_mode),
    ("Chords", 2, 0, (0, 90, 54, 40), (4, 88, 50, 40), 1, "2 tight", 0, chord_mode),
    ("Arpeggio", 3, 0, (24, 85, 80, 30), (25, 85, 76, 30), 0, "3", 2, arpeggio_mode),
    ("Pad", 4, 0, (48, 70, 64, 70), (49, 72, 64, 70), 0, "4", 3, pad_mode),
]


def write_style(prefix, version, purpose, ts):
    beats, compound = TIME_SIGNATURES[ts]
    spq = 8 if version < 10 else 12
    late = version >= 30
    new = version >= 31
    roles = NEW_ROLES if new else OLD_ROLES
    code = prefix + ts
    name = "%s/%s" % (ts[0], ts[1])
    per_beat = spq // 2 if compound else spq
    out = []
    out.append("# Test style %s%02d: %s, %s. Written by make_test_styles.py." %
               (code, version, purpose, name))
    out.append('style "Test: %s %s %s"' % (name, code, purpose))
    out.append("code " + code)
    out.append("version %d" % version)
    key_relative = prefix in ("Kd", "Nw")
    for t, (track_name, channel, base, chord, pattern, sustain, register, playmode,
            maker) in enumerate(TRACKS):
        if prefix == "Nw" and track_name == "Bass":
            base = -36  # the one-note bass of late styles
        out.append("")
        out.append("track" if t == 0 else 'track "%s"' % track_name)
        out.append("  channel %d" % channel)
        out.append("  base %d" % base)
        out.append("  chord program %d volume %d pan %d effect %d" % chord)
        out.append("  pattern program %d volume %d pan %d effect %d" % pattern)
        out.append("  sustain %d" % sustain)
        if maker is pad_mode and key_relative:
            out.append("  styleflag1 1")
        out.append("  register " + register)
        if maker is arpeggio_mode and prefix in ("Md", "Nx"):
            playmode = 1  # the pattern part in play mode 1
        out.append("  playmode %d" % playmode)
        for index, role in enumerate(roles):
            if maker is pad_mode:
                grid = maker(role, index, beats, compound, spq, late, key_relative)
            else:
                grid = maker(role, index, beats, compound, spq, late)
            slope = index % 3 - 1 if index > 0 else 0
            out.append("  mode %d%s" % (index, " slope %d" % slope if slope else ""))
            out.extend(grid.text(per_beat))
    out.append("")
    out.append('track "Drums"')
    out.append("  channel 9")
    out.append("  base 0")
    out.append("  chord program 0 volume 110 pan 64 effect 40")
    out.append("  pattern program 0 volume 110 pan 64 effect 40")
    out.append("  playmode 1")
    for index, role in enumerate(roles):
        grid = drum_mode(role, index, beats, compound, spq, late)
        slope = index % 4 - 1 if index > 0 else 0
        out.append("  mode %d%s" % (index, " slope %d" % slope if slope else ""))
        out.extend(grid.text(per_beat))
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "%s%02d.txt" % (code, version))
    with open(path, "w") as f:
        f.write("\n".join(out) + "\n")


def main():
    for ts in TIME_SIGNATURES:
        for prefix, version, purpose in STYLES:
            write_style(prefix, version, purpose, ts)


if __name__ == "__main__":
    main()
