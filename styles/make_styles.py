#!/usr/bin/env python3
"""Writes the descriptions of the shipped style library (one .txt per style, beside this script).

The .txt files are the sources that the build compiles with stylec into the program folder;
this script is how they were written, so a groove is changed here and the script run again
from this folder: python3 make_styles.py

Every style is written at 12 steps per quarter note (version 10 or later), so that any five
styles of one time signature can share a song. The library mixes both families:

  versions 10-29  modes chosen by the section code, every note released in its mode
  version 30      as above, but with note lengths and the late drum and chord parts
  versions 31-99  sixteen modes chosen by section and by the step of the Normal phrase

Each genre is written once as musical roles (intro, grooves, fills, stop, ending); the family
decides which mode each role lands in.

Track conventions of the library (the library's checks rely on them):
  track 1 on channel 1 is always the bass, the other melodic tracks are chord parts (comping,
  pad or strings, a line or arpeggio), the drum track is last on channel 9.

The play modes each track proposes: the bass and at least one chord part take a pattern mode (1
to 3), which plays from the song's first measure; a part in mode 0 waits for the song's first
Break1, Intro2 or Break2. A pattern part does not strike again the note it played last, so its
lines move between notes instead of repeating one.

On a first run the window puts the first style file in name order into all five slots, so that
file is a 4/4 style for most songs: the Pop 8-Beat, 8B4431.
"""

import os

STEPS_PER_QUARTER = 12
BEATS = {"24": 2, "34": 3, "44": 4, "68": 3}

# General MIDI percussion keys.
KICK, STICK, SNARE, CLAP = 36, 37, 38, 39
LOW_TOM, MID_TOM, HIGH_TOM, FLOOR_TOM = 45, 47, 50, 41
HAT, PEDAL_HAT, OPEN_HAT = 42, 44, 46
CRASH, RIDE, TAMBOURINE, COWBELL = 49, 51, 54, 56
HI_BONGO, MUTE_CONGA, OPEN_CONGA, LOW_CONGA = 60, 62, 63, 64
CABASA, MARACAS, CLAVES, TRIANGLE = 69, 70, 75, 81

# Degrees of a melodic track are counted from the chord root: 1 the fifth below, 6 the root,
# 10 the third, 13 the fifth, 16 the seventh, 18 the octave (see the style compiler's guide).
ROOT = 6

ACCENTS = {"X": 112, "x": 92, "o": 62, "g": 48}


class Part:
    """One track's notes in one measure: (step, value, velocity, length in steps, offset)."""

    def __init__(self, steps):
        self.steps = steps
        self.notes = []

    def add(self, step, value, velocity=90, length=6, offset=0):
        if 0 <= step < self.steps:
            self.notes.append((step, value, velocity, max(1, length), offset))
        return self

    def hits(self, value, pattern, resolution, velocity=None, length=None, start=0):
        """A rhythm line from `start`: one character per `resolution` steps, X accent, x plain,
        o ghost, g soft ghost, anything else a rest. A given velocity is the plain hit's."""
        for i, ch in enumerate(pattern.replace(" ", "").replace("|", "")):
            if ch in ACCENTS:
                vel = ACCENTS[ch] if velocity is None else velocity
                if velocity is not None and ch == "X":
                    vel = min(127, velocity + 20)
                if velocity is not None and ch in "og":
                    vel = max(20, velocity - 30)
                self.add(start + i * resolution, value, vel, length or resolution)
        return self

    def seq(self, text, resolution, velocity=90, start=0):
        """Melodic tokens, one per `resolution` steps: "." rest, a degree, degrees joined by
        "+" for a chord; a trailing "_n" holds for n slots, "!" accents, "?" softens. A note
        lasts its whole slots: a note length runs out one step early, a release ends it
        where the next note of its value starts."""
        for i, token in enumerate(text.split()):
            if token in (".", "|"):
                continue
            slots = 1
            if "_" in token:
                token, hold = token.split("_")
                slots = int(hold)
            vel = velocity
            while token and token[-1] in "!?":
                vel = min(127, vel + 18) if token[-1] == "!" else max(25, vel - 25)
                token = token[:-1]
            for degree in token.split("+"):
                self.add(start + i * resolution, int(degree), vel, slots * resolution)
        return self

    def merged(self, other):
        result = Part(self.steps)
        result.notes = self.notes + other.notes
        return result

    def first_half(self, half):
        result = Part(self.steps)
        result.notes = [n for n in self.notes if n[0] < half]
        result.notes = [(s, v, vel, min(length, half - s), o) for s, v, vel, length, o in
                        result.notes]
        return result

    def softer(self, amount):
        result = Part(self.steps)
        result.notes = [(s, v, max(25, vel - amount), length, o) for s, v, vel, length, o in
                        self.notes]
        return result

    def crescendo(self, rise):
        """Louder through the measure: a note's velocity grows by `rise` times itself towards
        the last step. The cells carry it, so it follows the part's volume (the composer's
        mode slope would add the same amount at every volume)."""
        self.notes = [(s, v, min(127, round(vel * (1 + rise * s / self.steps))), length, o)
                      for s, v, vel, length, o in self.notes]
        return self


# A track's sound: (program, volume, pan, effect) in chord mode and in pattern mode. The cells
# carry the accents around the neutral velocity 90 (chords a little above, since the composer
# plays a chord's notes softer the more there are), and the volumes carry the level: they are the
# style's default mix, where the volume sliders start. The composer starts a part's velocities at
# its volume scaled by the slot's percentage, so at the window's 80 percent the melody stays on
# top, the bass and drums about 6 dB under it and each chord part 9 to 13 dB, all the style's
# parts together more than 2 dB; a slider at the top plays a part out at velocities around 80 and
# more. The library's level test renders every style as the window makes it to check.
class Track:
    def __init__(self, name, channel, chord, pattern=None, base=0, sustain=0, styleflag1=0,
                 register=0, tight=False, playmode=0):
        self.name = name
        self.channel = channel
        self.chord = chord
        self.pattern = pattern or chord
        self.base = base
        self.sustain = sustain
        self.styleflag1 = styleflag1
        self.register = register
        self.tight = tight
        self.playmode = playmode
        self.roles = {}


class Style:
    def __init__(self, code, version, signature, label, name, comment):
        self.code = code
        self.version = version
        self.signature = signature
        self.label = label
        self.name = name
        self.comment = comment
        self.tracks = []

    @property
    def steps(self):
        return BEATS[self.signature] * STEPS_PER_QUARTER

    @property
    def half(self):
        # Where the composer splits a measure into its two chords.
        return {"24": 12, "34": 24, "44": 24, "68": 18}[self.signature]


# Which role plays in which mode, by family.
OLD_MODES = ["normal1", "variation", "break1", "intro2", "intro1", "normal2", "stop", "break2",
             "ending", "pause"]
NEW_MODES = ["intro1", "intro2", "break1_intro", "variation", "normal1", "normal2", "normal1_b",
             "normal2_b", "normal1_c", "normal2_c", "normal1_d", "normal2_d", "break1",
             "variation", "break2", "stop"]


def role_for(style, mode):
    if style.version >= 31:
        return NEW_MODES[mode]
    return OLD_MODES[mode] if mode < len(OLD_MODES) else None


def lookup(track, role):
    """A role's part, falling back to the role it varies."""
    while role is not None:
        if role in track.roles:
            return track.roles[role]
        role = {"normal1_b": "normal1", "normal1_c": "normal1", "normal1_d": "normal1",
                "normal2_b": "normal2", "normal2_c": "normal2", "normal2_d": "normal2",
                "break1_intro": "break1"}.get(role)
    return None


def cells_for(style, track, part):
    """The part's notes as a grid [step][column] of tokens, in the style's family rules."""
    steps = style.steps
    grid = [[] for _ in range(steps)]
    late = style.version >= 30
    notes = sorted(part.notes)
    if late:
        for step, value, vel, length, offset in notes:
            token = "%dv%d" % (value, vel)
            if offset:
                token += "@%d" % offset
            token += ":%d" % min(99, length)
            if token not in grid[step]:
                grid[step].append(token)
        return grid
    # Before version 30 every note is released in its own mode: the release goes in front of
    # the step's new notes, so a note struck again on the same step ends the earlier one first.
    releases = [[] for _ in range(steps)]
    by_value = {}
    for note in notes:
        by_value.setdefault(note[1], []).append(note)
    for value, same in by_value.items():
        starts = []
        for step, _, _, _, _ in same:
            if not starts or starts[-1] != step:
                starts.append(step)
        for i, step in enumerate(starts):
            vel = max(n[2] for n in same if n[0] == step)
            length = max(n[3] for n in same if n[0] == step)
            end = step + length
            if i + 1 < len(starts):
                end = min(end, starts[i + 1])
            end = min(end, steps - 1)
            if end <= step:
                continue  # no room to release it in this measure: leave the note out
            grid[step].append("%dv%d" % (value, vel))
            releases[end].append("-%d" % value)
    return [releases[s] + grid[s] for s in range(steps)]


def format_mode(style, track, mode):
    role = role_for(style, mode)
    part = lookup(track, role) if role else None
    lines = ["  mode %d%s" % (mode, "    # " + role if role else "")]
    if not part:
        return lines
    grid = cells_for(style, track, part)
    columns = max(len(row) for row in grid)
    if columns > 16:
        raise SystemExit("%s%02d: %s mode %d needs %d cells in a step" %
                         (style.code, style.version, track.name, mode, columns))
    beat = STEPS_PER_QUARTER if style.signature != "68" else 6
    for column in range(columns):
        tokens = []
        for s in range(style.steps):
            if s and s % (beat * (3 if style.signature == "68" else 1)) == 0:
                tokens.append("|")
            tokens.append(grid[s][column] if column < len(grid[s]) else ".")
        lines.append("    lane %d: %s" % (column, " ".join(tokens)))
    return lines


def format_style(style):
    out = ["# %s" % line for line in style.comment.strip().splitlines()]
    out.append("# Written by make_styles.py; change the script and run it again.")
    out.append('style "%s: %s %s"' % (style.label, style.signature[0] + "/" +
                                      style.signature[1], style.name))
    out.append("code %s" % style.code)
    out.append("version %d" % style.version)
    for i, track in enumerate(style.tracks):
        out.append("")
        out.append("track" if i == 0 else 'track "%s"' % track.name)
        if i == 0:
            out[-1] += "    # %s" % track.name
        out.append("  channel %d" % track.channel)
        out.append("  base %d" % track.base)
        out.append("  chord program %d volume %d pan %d effect %d" % track.chord)
        out.append("  pattern program %d volume %d pan %d effect %d" % track.pattern)
        out.append("  sustain %d" % track.sustain)
        out.append("  styleflag1 %d" % track.styleflag1)
        out.append("  register %d%s" % (track.register, " tight" if track.tight else ""))
        out.append("  playmode %d" % track.playmode)
        for mode in range(16):
            out.extend(format_mode(style, track, mode))
    return "\n".join(out) + "\n"


# ----------------------------------------------------------------------------------------
# Shared role builders


def part(style):
    return Part(style.steps)


def held(style, degrees, velocity=80, length=None, step=0):
    p = part(style)
    for d in degrees:
        p.add(step, d, velocity, length or style.steps - 1 - step)
    return p


def melodic_roles(style, normal1, normal2, variation=None, intro1=None, intro2=None,
                  break1=None, break2=None, stop=None, ending=None, normal1_d=None,
                  normal2_d=None, final=None):
    """The roles of a melodic track from its grooves. What is not given follows what a player
    does: the intros play the groove softer (the second one growing), the breaks play the
    groove's first half and leave the second to the drum fill unless hits are given, Stop
    strikes once and lets it ring, Ending plays half a measure and holds the chord. `final`
    is the chord the song's last measure takes (the first step of the Variation)."""
    half = style.half
    first = final or held(style, sorted({n[1] for n in normal1.notes if n[0] == 0}) or [ROOT],
                          max([n[2] for n in normal1.notes if n[0] == 0] or [80]), half)
    roles = {"normal1": normal1, "normal2": normal2}
    variation = variation or normal2
    roles["variation"] = first.merged(_without_step0(variation))
    roles["intro1"] = intro1 or normal1.softer(22)
    roles["intro2"] = intro2 or normal1.softer(16).crescendo(0.3)
    roles["break1"] = break1 or normal1.first_half(half)
    roles["break2"] = break2 or normal2.first_half(half)
    roles["stop"] = stop or first
    roles["ending"] = ending or normal1.first_half(half).merged(
        held(style, sorted({n[1] for n in first.notes}), 76, style.steps - 1 - half, half))
    if normal1_d:
        roles["normal1_d"] = normal1_d
    if normal2_d:
        roles["normal2_d"] = normal2_d
    return roles


def _without_step0(p):
    result = Part(p.steps)
    result.notes = [n for n in p.notes if n[0] != 0]
    return result


def drum_roles(style, normal1, normal2, break1, break2, intro1, intro2, variation=None,
               stop=None, ending=None, normal1_d=None, normal2_d=None):
    """The drum roles; the first step of the Variation is the song's final hit, so it carries
    the crash and the bass drum and no time-keeping cymbal."""
    half = style.half
    variation = _without_step0(variation or normal2)
    variation.add(0, CRASH, 110, 24).add(0, KICK, 110, 6)
    roles = {"normal1": normal1, "normal2": normal2, "variation": variation,
             "break1": break1, "break2": break2, "intro1": intro1, "intro2": intro2,
             "stop": stop or part(style).add(0, CRASH, 112, 24).add(0, KICK, 110, 6)
             .add(0, SNARE, 96, 3),
             "ending": ending or normal1.first_half(half).merged(
                 part(style).add(half, CRASH, 108, 24).add(half, KICK, 104, 6))}
    if normal1_d:
        roles["normal1_d"] = normal1_d
    if normal2_d:
        roles["normal2_d"] = normal2_d
    return roles


def tom_run(style, start, toms, spacing, velocity=98):
    p = part(style)
    for i, tom in enumerate(toms):
        p.add(start + i * spacing, tom, min(127, velocity + 2 * i), spacing)
    return p


def drum_track(volume, playmode=1, effect=30):
    return Track("Drums", 9, (0, volume, 64, effect), (0, volume, 64, effect),
                 playmode=playmode)


def bass_track(program, volume, pan=64, effect=8, playmode=0):
    # A one-note part from version 30 on: a new bass note ends the one before.
    return Track("Bass", 1, (program, volume, pan, effect), (program, volume, pan, effect),
                 base=-36, register=1, playmode=playmode)


# ----------------------------------------------------------------------------------------
# 4/4


def pop_8beat():
    s = Style("8B44", 31, "44", "Pop", "Pop 8-Beat",
              "Pop 8-beat: straight eighths on the hi-hat, kick on 1 and the and of 2,\n"
              "backbeat on 2 and 4; a bass on root, fifth and octave, piano on the eighths\n"
              "with a push, strings holding the chord, a clean electric guitar arpeggio.")
    h = s.half
    bass = bass_track(33, 55, playmode=1)
    piano = Track("Piano", 2, (0, 51, 72, 30), (0, 49, 72, 30), sustain=1, register=2,
                  tight=True)
    strings = Track("Strings", 3, (48, 37, 44, 50), (49, 36, 44, 50), register=2, tight=True,
                    playmode=3)
    guitar = Track("Guitar", 4, (27, 55, 88, 30), (27, 55, 88, 30), register=3, tight=True,
                   playmode=1)
    drums = drum_track(volume=32)

    def groove(kick="X.....x.X.......", hat="x.o.x.o.x.o.x.o.", open_end=False):
        p = part(s).hits(KICK, kick, 3).hits(SNARE, "....X.......X...", 3).hits(HAT, hat, 3)
        if open_end:
            p.notes = [n for n in p.notes if not (n[1] == HAT and n[0] >= 42)]
            p.add(42, OPEN_HAT, 86, 6)
        return p

    n1 = groove()
    n2 = groove(kick="X.....x.X.x.....", hat="xoxoxoxoxoxoxoxo")
    n2.hits(TAMBOURINE, "....x.......x...", 3, 66)
    fill1 = groove().first_half(h).merged(tom_run(s, 30, [HIGH_TOM, HIGH_TOM, MID_TOM, MID_TOM,
                                                          LOW_TOM, FLOOR_TOM], 3))
    fill1.hits(KICK, "........X.......", 3).add(24, SNARE, 100, 3)
    fill2 = n2.first_half(h).merged(part(s).hits(SNARE, "xoxoXoxoxxXX", 3, 92, start=12))
    fill2.add(42, FLOOR_TOM, 110, 3).add(45, FLOOR_TOM, 114, 3).hits(KICK, "X.....X.", 6,
                                                                         start=0).crescendo(0.3)
    intro1 = part(s).hits(KICK, "X.......X.......", 3, 84).hits(HAT, "x.x.x.x.x.x.x.x.", 3, 62)
    intro2 = part(s).hits(KICK, "X.....x.X.......", 3, 92).hits(STICK, "....x.......x...", 3, 80)
    intro2.hits(HAT, "x.o.x.o.x.o.x.o.", 3, 72).crescendo(0.3)
    drums.roles = drum_roles(s, n1, n2, fill1, fill2, intro1, intro2,
                             variation=groove(kick="X.....x.X.....x.", open_end=True),
                             normal1_d=groove(open_end=True),
                             normal2_d=groove(kick="X.....x.X.x.....", hat="xoxoxoxoxoxoxoxo",
                                              open_end=True))

    b1 = part(s).seq("6!_3 . . 13 6_2 . 13 18", 6, 90)
    b2 = part(s).seq("6!_3 . . 18 6_2 . 13 11", 6, 92)
    bass.roles = melodic_roles(
        s, b1, b2, intro1=part(s).seq("6_4 . . . 13_4", 6, 78),
        break1=b1.first_half(h).merged(part(s).seq("6! . 13 18!", 6, 96, start=h)),
        break2=b2.first_half(h).merged(part(s).seq("6! 13 11 10", 6, 96, start=h)),
        normal1_d=b1.first_half(h).merged(part(s).seq("6! 13 15 17", 6, 90, start=h)))
    c = "10+13+18"
    c1 = part(s).seq(f"{c}_2 . {c}_3 . . {c}_2 . {c}_2 . . {c}", 3, 106)
    c2 = part(s).seq(f"{c}_2 . {c} . . {c}_3 . . {c}_2 . {c} {c}_3 . .", 3, 108)
    piano.roles = melodic_roles(
        s, c1, c2, intro1=part(s).seq(f"{c}_4 . . . {c}_4", 6, 88),
        break1=c1.first_half(h).merged(part(s).seq(f"{c}! . . {c}!", 6, 104, start=h)),
        break2=c2.first_half(h).merged(part(s).seq(f"{c}! {c} . {c}!", 6, 104, start=h)))
    strings.roles = melodic_roles(s, held(s, [10, 13, 18], 104), held(s, [6, 10, 13], 110))
    arp1 = part(s).seq("6! 13 18 13 10 13 18 13", 6, 90)
    arp2 = part(s).seq("6! 13 18 22 18 13 10 13", 6, 94)
    guitar.roles = melodic_roles(s, arp1, arp2)
    s.tracks = [bass, piano, strings, guitar, drums]
    return s


def rock():
    s = Style("Rk44", 30, "44", "Rock", "Rock",
              "Rock: driving eighths, kick on 1, 3 and the and of 3, a hard backbeat on 2 and\n"
              "4; a picked bass on root, fifth and octave, palm-muted power chords, a rock organ underneath,\n"
              "a distorted guitar riff on root and fifth.")
    h = s.half
    bass = bass_track(34, 55, playmode=1)
    power = Track("Rhythm Guitar", 2, (29, 48, 40, 20), (29, 46, 40, 20), register=1,
                  tight=True)
    organ = Track("Organ", 3, (18, 40, 84, 40), (18, 39, 84, 40), register=2, tight=True,
                  playmode=3)
    lead = Track("Lead Guitar", 4, (30, 39, 100, 40), (30, 38, 100, 40), register=3,
                 tight=True, playmode=2)
    drums = drum_track(volume=30, effect=24)

    def groove(hat="X.x.X.x.X.x.X.x.", kick="X.......X.x.....", cym=HAT):
        return part(s).hits(KICK, kick, 3).hits(SNARE, "....X.......X...", 3, 110) \
            .hits(cym, hat, 3)

    n1 = groove()
    n2 = groove(hat="X.x.X.x.X.x.X.x.", kick="X.....x.X.x...x.", cym=RIDE)
    n2.add(0, CRASH, 96, 12)
    fill1 = n1.first_half(h).merged(part(s).hits(SNARE, "X.xxX.xx", 3, 100, start=h))
    fill1.add(h, KICK, 100, 3)
    fill2 = n2.first_half(h).merged(tom_run(s, h, [SNARE, SNARE, HIGH_TOM, HIGH_TOM, MID_TOM,
                                                   MID_TOM, FLOOR_TOM, FLOOR_TOM], 3, 100))
    fill2.hits(KICK, "X..X..X.", 3, start=h).crescendo(0.3)
    intro1 = part(s).hits(KICK, "X.......X.......", 3, 96).hits(CRASH, "X...............", 3, 96)
    intro1.hits(HAT, "....x.......x...", 3, 80)
    intro2 = groove(hat="x.x.x.x.x.x.x.x.").crescendo(0.3)
    drums.roles = drum_roles(s, n1, n2, fill1, fill2, intro1, intro2)

    b1 = part(s).seq("6!_2 . 18 13 6!_2 . 18 13", 6, 90)
    b2 = part(s).seq("6!_2 . 13 18 6!_2 . 13 11", 6, 92)
    bass.roles = melodic_roles(
        s, b1, b2, intro1=part(s).seq("6_8", 6, 82),
        break1=b1.first_half(h).merged(part(s).seq("6! 18 6 18", 6, 96, start=h)),
        break2=b2.first_half(h).merged(part(s).seq("6! 13 11 10", 6, 96, start=h)))
    pc = "6+13+18"
    p1 = part(s).seq(f"{pc}! {pc}? {pc} {pc}? {pc}! {pc}? {pc} {pc}?", 6, 104)
    p2 = part(s).seq(f"{pc}! {pc}? {pc} {pc}_2 . {pc}! {pc}?", 6, 106)
    power.roles = melodic_roles(
        s, p1, p2, intro1=part(s).seq(f"{pc}!_8", 6, 100),
        break1=p1.first_half(h).merged(part(s).seq(f"{pc}! . . {pc}!", 6, 106, start=h)),
        break2=p2.first_half(h).merged(part(s).seq(f"{pc}! . {pc}! {pc}!", 6, 106, start=h)))
    organ.roles = melodic_roles(s, held(s, [10, 13, 18], 100), held(s, [6, 10, 13, 18], 106))
    riff1 = part(s).seq("6!_2 . 13 18_2 . 13", 6, 90)
    riff2 = part(s).seq("6! 18 13 18 6 18 16 13", 6, 92)
    # The stop strikes root and fifth: a part in a pattern mode does not strike again the note it
    # played last, which a single root may be.
    lead.roles = melodic_roles(s, riff1, riff2, stop=held(s, [6, 13], 90, h))
    s.tracks = [bass, power, organ, lead, drums]
    return s


def ballad():
    s = Style("Bl44", 12, "44", "Ballad", "Piano Ballad",
              "Piano ballad: the piano rolls the chord in eighths with the pedal down, the\n"
              "drums keep it light with a side stick on 2 and 4 until the breaks open up, a\n"
              "fretless bass on root and fifth, strings and a warm pad holding the harmony.")
    h = s.half
    bass = Track("Bass", 1, (35, 54, 64, 20), (35, 54, 64, 20), base=-36, register=1,
                 playmode=1)
    piano = Track("Piano", 2, (0, 56, 58, 50), (0, 54, 58, 50), sustain=1, register=2,
                  tight=True)
    strings = Track("Strings", 3, (48, 36, 36, 60), (49, 36, 36, 60), register=2, tight=True,
                    playmode=3)
    pad = Track("Pad", 4, (89, 37, 92, 60), (89, 36, 92, 60), register=2, tight=True)
    drums = drum_track(playmode=0, volume=33, effect=50)

    def groove(stick=STICK, kick="X.......x.x.....", hat="x.x.x.x.x.x.x.x."):
        return part(s).hits(KICK, kick, 3, 96).hits(stick, "....x.......x...", 3, 94) \
            .hits(HAT, hat, 3, 90)

    n1 = groove()
    n2 = groove(stick=SNARE, hat="xoxoxoxoxoxoxoxo")
    fill1 = n1.first_half(h).merged(part(s).hits(SNARE, "..o.x.o.x.xx", 3, 94, start=12))
    fill1.add(42, MID_TOM, 100, 3).add(45, FLOOR_TOM, 106, 3).crescendo(0.3)
    fill2 = n2.first_half(h).merged(tom_run(s, h, [HIGH_TOM, HIGH_TOM, MID_TOM, MID_TOM,
                                                   FLOOR_TOM, FLOOR_TOM], 4, 100))
    intro1 = part(s).hits(RIDE, "x...x...x...x...", 3, 80)
    intro2 = part(s).hits(KICK, "X.......X.......", 3, 90).hits(RIDE, "x.x.x.x.x.x.x.x.", 3, 82)
    intro2.crescendo(0.3)
    drums.roles = drum_roles(s, n1, n2, fill1, fill2, intro1, intro2)

    b1 = part(s).seq("6!_3 . . 13 6_3 . . 13", 6, 90)
    b2 = part(s).seq("6!_3 . 18 13 6_2 . 1 3", 6, 92)
    bass.roles = melodic_roles(s, b1, b2, intro1=part(s).seq("6_8", 6, 78))
    arp1 = part(s).seq("6! 13 18 22 18 13 22 13", 6, 90)
    arp2 = part(s).seq("6! 13 18 22 25 22 18 13", 6, 94)
    piano.roles = melodic_roles(
        s, arp1, arp2, intro1=part(s).seq("6 13 18 22_5", 6, 80),
        break1=arp1.first_half(h).merged(part(s).seq("10+13+18_3 . . 13", 6, 100, start=h)),
        break2=arp2.first_half(h).merged(part(s).seq("10+13+18! 13 18 22", 6, 102, start=h)))
    strings.roles = melodic_roles(s, held(s, [10, 13, 18], 100), held(s, [6, 10, 13, 18], 106))
    pad.roles = melodic_roles(s, part(s).seq("10+13_4 . . . 10+13+18_4", 6, 102),
                              part(s).seq("10+13+18_4 . . . 10+13+18_4", 6, 106))
    s.tracks = [bass, piano, strings, pad, drums]
    return s


def disco():
    s = Style("Ds44", 33, "44", "Disco", "Disco 16-Beat",
              "Disco 16-beat: four on the floor, clap and snare on 2 and 4, open hi-hat on\n"
              "every off-beat over sixteenths; an octave bass, muted guitar chops on the\n"
              "sixteenths, string stabs and a brass section punching the pushes.")
    h = s.half
    bass = bass_track(38, 54, playmode=1)
    guitar = Track("Guitar", 2, (28, 50, 30, 20), (28, 48, 30, 20), register=2, tight=True)
    strings = Track("Strings", 3, (49, 41, 96, 50), (48, 40, 96, 50), register=3, tight=True,
                    playmode=3)
    brass = Track("Brass", 4, (61, 45, 70, 40), (61, 44, 70, 40), register=2, tight=True,
                  playmode=2)
    drums = drum_track(volume=40)

    def groove(extra_kick=False):
        p = part(s).hits(KICK, "x...x...x...x..." if not extra_kick else "x...x...x...x.o.", 3, 72)
        p.hits(SNARE, "....x.......x...", 3, 76).hits(CLAP, "....x.......x...", 3, 76)
        p.hits(HAT, "Xx.xXx.xXx.xXx.x", 3, 84)
        p.hits(OPEN_HAT, "..x...x...x...x.", 3, 90)
        return p

    n1 = groove()
    n2 = groove(extra_kick=True).merged(part(s).hits(TAMBOURINE, "x.x.x.x.x.x.x.x.", 3, 86))
    fill1 = n1.first_half(h).merged(part(s).hits(SNARE, "x.xxx.xxXXXX", 3, 92, start=12))
    fill1.hits(KICK, "X...X...", 3, start=h)
    fill2 = n2.first_half(h).merged(tom_run(s, h, [HIGH_TOM, HIGH_TOM, MID_TOM, MID_TOM, LOW_TOM,
                                                   LOW_TOM, FLOOR_TOM, FLOOR_TOM], 3, 100))
    fill2.hits(KICK, "X...X...", 3, start=h).crescendo(0.6)
    intro1 = part(s).hits(KICK, "X...X...X...X...", 3, 96).hits(HAT, "x.x.x.x.x.x.x.x.", 3, 84)
    intro2 = groove().crescendo(0.3)
    drums.roles = drum_roles(s, n1, n2, fill1, fill2, intro1, intro2,
                             normal2_d=n2.first_half(h).merged(
                                 part(s).hits(SNARE, "..x...xx", 3, 86, start=h)
                                 .hits(KICK, "X...X...", 3, start=h)))

    b1 = part(s).seq("6! 18 6 18 6! 18 6 18", 6, 90)
    b2 = part(s).seq("6! 18 6 18 6! 18 13 18", 6, 92)
    bass.roles = melodic_roles(
        s, b1, b2, intro1=part(s).seq("6 . 18 . 6 . 18 .", 6, 80),
        break1=b1.first_half(h).merged(part(s).seq("6! 18 . 6 18 . 13! .", 3, 96, start=h)),
        break2=b2.first_half(h).merged(part(s).seq("6! 18 13 18 16 18 6 18", 3, 96, start=h)))
    c = "10+13+18"
    g1 = part(s).seq(f". . {c} . . {c}? {c} . . . {c} . . {c}? {c} .", 3, 108)
    g2 = part(s).seq(f"{c}? . {c} {c}? . {c} {c} . {c}? . {c} {c} . {c}? {c} .", 3, 110)
    guitar.roles = melodic_roles(s, g1, g2)
    strings.roles = melodic_roles(
        s, held(s, [10, 13, 18], 100),
        part(s).seq("10+13+18_6 . . . . . 18+22 . . 18+22_2 .", 3, 106))
    b_hits = part(s).seq(". . . . . . 10+13+18!_2 . . . . . . . 10+13+18_2 .", 3, 102)
    brass.roles = melodic_roles(
        s, b_hits, part(s).seq("10+13+18! . . 10+13+18 . . . . . . 10+13+18!_2 . . . . .", 3,
                               104),
        intro1=part(s).seq("10+13+18!_8", 6, 96))
    s.tracks = [bass, guitar, strings, brass, drums]
    return s


def shuffle():
    s = Style("Sh44", 30, "44", "Swing", "Swing Shuffle",
              "Swing shuffle: swung eighths on the ride with the hi-hat foot on 2 and 4, a\n"
              "feathered kick and a backbeat; a walking acoustic bass, Charleston piano comp,\n"
              "an organ pad written from the key (key-relative), jazz guitar on the quarters.")
    h = s.half
    bass = Track("Bass", 1, (32, 55, 64, 20), (32, 55, 64, 20), base=-36, register=1,
                 playmode=1)
    piano = Track("Piano", 2, (0, 57, 80, 40), (0, 55, 80, 40), register=2, tight=True)
    organ = Track("Organ", 3, (16, 45, 40, 40), (17, 45, 40, 40), styleflag1=1, register=2,
                  tight=True)
    guitar = Track("Guitar", 4, (26, 59, 100, 30), (26, 58, 100, 30), register=2, tight=True,
                   playmode=1)
    drums = drum_track(volume=48, effect=40)
    # Swung eighths on a triplet grid: a character per triplet eighth (4 steps); the beat
    # accented, the skip note on its last third.
    swing = "X.xX.xX.xX.x"

    def groove(ride=RIDE, snare="...x.....x.."):
        return part(s).hits(ride, swing, 4, 84).hits(PEDAL_HAT, "...x.....x..", 4, 86) \
            .hits(KICK, "g..g..g..g..", 4, 70).hits(SNARE, snare, 4, 92) \
            .hits(SNARE, "........g...", 4, 44)

    n1 = groove(ride=HAT)
    n2 = groove()
    fill1 = n1.first_half(h).merged(part(s).hits(SNARE, "x.xx.xX.X", 4, 92, start=h - 12))
    fill2 = n2.first_half(h).merged(tom_run(s, h, [SNARE, HIGH_TOM, HIGH_TOM, MID_TOM, LOW_TOM,
                                                   FLOOR_TOM], 4, 100))
    fill2.add(h + 20, KICK, 100, 4).crescendo(0.3)
    intro1 = part(s).hits(RIDE, swing, 4, 74).hits(PEDAL_HAT, "...x.....x..", 4, 80)
    intro2 = groove(ride=RIDE, snare="............").crescendo(0.3)
    drums.roles = drum_roles(s, n1, n2, fill1, fill2, intro1, intro2)

    walk1 = part(s).seq("6! 10 13 15", 12, 90)
    walk2 = part(s).seq("6! 13 18 16", 12, 92)
    bass.roles = melodic_roles(s, walk1, walk2, intro1=part(s).seq("6 . 13 .", 12, 80),
                               normal1_d=part(s).seq("6! 10 13 17", 12, 90))
    c = "10+16+20"
    comp1 = part(s).seq(f"{c}_2 . . . . {c} . . . . . .", 4, 106)
    comp2 = part(s).seq(f". . {c} . . . . . {c}_2 . {c}? .", 4, 108)
    piano.roles = melodic_roles(s, comp1, comp2,
                                final=held(s, [10, 13, 16, 20], 106, 24))
    # Key-relative: 64, 67 and 71 are the key's third, fifth and seventh, moved to chord tones.
    organ.roles = melodic_roles(s, held(s, [64, 67, 71], 104), held(s, [60, 64, 67, 71], 110),
                                final=held(s, [60, 64, 67], 104, 24))
    fg = part(s).seq("10+13+18 10+13+18? 10+13+18 10+13+18?", 12, 106)
    guitar.roles = melodic_roles(s, fg, fg.softer(-6))
    s.tracks = [bass, piano, organ, guitar, drums]
    return s


def bossa():
    s = Style("Bs44", 32, "44", "Latin", "Bossa Nova",
              "Bossa nova: cross-stick on the bossa clave, eighths on the hi-hat, the kick on\n"
              "1 and 3 with its pickups; the bass plays root and fifth with the anticipation,\n"
              "nylon guitar syncopated against it, soft strings and a flute answering.")
    h = s.half
    bass = bass_track(32, 56, playmode=1)
    nylon = Track("Nylon Guitar", 2, (24, 49, 50, 40), (24, 48, 50, 40), register=2,
                  tight=True)
    strings = Track("Strings", 3, (49, 35, 84, 70), (49, 35, 84, 70), register=3, tight=True,
                    playmode=3)
    flute = Track("Flute", 4, (73, 42, 100, 60), (73, 41, 100, 60), register=3, tight=True,
                  playmode=1)
    drums = drum_track(volume=55, effect=40)
    clave = "x..x..x...x..x.."

    def groove(cym=HAT):
        return part(s).hits(STICK, clave, 3, 90).hits(KICK, "x.....x.x.....x.", 3, 84) \
            .hits(cym, "xoxoxoxoxoxoxoxo", 3, 90).hits(CABASA, "x.x.x.x.x.x.x.x.", 3, 80)

    n1 = groove()
    n2 = groove(cym=RIDE)
    fill1 = n1.first_half(h).merged(part(s).hits(SNARE, "o.x.oxx.x.X.", 3, 88, start=12))
    fill2 = n2.first_half(h).merged(tom_run(s, h, [HIGH_TOM, MID_TOM, HIGH_TOM, MID_TOM,
                                                   LOW_TOM, FLOOR_TOM], 4, 96))
    intro1 = part(s).hits(CABASA, "x.x.x.x.x.x.x.x.", 3, 76).hits(STICK, clave, 3, 84)
    intro2 = groove().crescendo(0.3)
    drums.roles = drum_roles(s, n1, n2, fill1, fill2, intro1, intro2)

    # Root on 1 for a dotted quarter, the fifth below on the and of 2; the same from beat 3.
    b1 = part(s).seq("6!_3 . . 1 6_3 . . 1", 6, 90)
    b2 = part(s).seq("6!_3 . . 1 6_3 . . 13", 6, 90)
    bass.roles = melodic_roles(s, b1, b2, intro1=part(s).seq("6_4 . . . 1_4", 6, 78))
    c = "10+16+20"
    g1 = part(s).seq(f"{c} . . {c} . . {c}_2 . . . {c} . . {c}_2 .", 3, 104)
    g2 = part(s).seq(f"{c} . . {c} . . {c} . . . {c} . . {c} . .", 3, 106)
    nylon.roles = melodic_roles(s, g1, g2)
    strings.roles = melodic_roles(s, held(s, [10, 16, 20], 100), held(s, [10, 13, 20], 104))
    fl1 = part(s).seq(". . . . 18 . 20_2 . . . 22!_4 . . . . . .", 3, 90)
    fl2 = part(s).seq("22!_2 . 20 . 18_2 . 16 . 13_4 . . . . . . .", 3, 92)
    flute.roles = melodic_roles(s, fl1, fl2, final=held(s, [10, 18], 96, 24))
    s.tracks = [bass, nylon, strings, flute, drums]
    return s


def rumba():
    s = Style("Rb44", 13, "44", "Latin", "Rumba",
              "Rumba: the 3-2 son clave on the claves, congas playing the tumbao with the\n"
              "open slaps on 4 and 4-and, maracas on the eighths; an anticipated bass on the\n"
              "and of 2 and on 4, a piano montuno, strings and a trumpet section.")
    h = s.half
    bass = Track("Bass", 1, (33, 55, 64, 20), (33, 55, 64, 20), base=-36, register=1,
                 playmode=1)
    piano = Track("Piano", 2, (0, 60, 76, 30), (0, 59, 76, 30), register=2, tight=True)
    strings = Track("Strings", 3, (48, 43, 40, 50), (48, 42, 40, 50), register=2, tight=True,
                    playmode=3)
    trumpets = Track("Trumpets", 4, (56, 54, 96, 40), (61, 53, 96, 40), register=3,
                     tight=True)
    drums = drum_track(volume=53)

    def groove(cowbell=False):
        p = part(s).hits(CLAVES, "x..x..x...x.x...", 3, 92)
        p.hits(MUTE_CONGA, "..x...x...x...x.", 3, 76).hits(OPEN_CONGA, "............x.x.", 3, 90)
        p.hits(LOW_CONGA, "......x.......x.", 3, 80).hits(MARACAS, "xoxoxoxoxoxoxoxo", 3, 88)
        p.hits(KICK, "X.........X.....", 3, 70)
        if cowbell:
            p.hits(COWBELL, "x.x.x.x.x.x.x.x.", 3, 86)
        return p

    n1 = groove()
    n2 = groove(cowbell=True)
    fill1 = n1.first_half(h).merged(part(s).hits(HI_BONGO, "xxo.xxo.x.X.", 3, 92, start=12))
    fill2 = n2.first_half(h).merged(part(s).hits(OPEN_CONGA, "x.xxX.xxX.X.", 3, 98, start=12))
    fill2.add(45, LOW_CONGA, 110, 3).crescendo(0.3)
    intro1 = part(s).hits(CLAVES, "x..x..x...x.x...", 3, 88).hits(MARACAS, "x.x.x.x.x.x.x.x.",
                                                                   3, 80)
    intro2 = groove().crescendo(0.3)
    drums.roles = drum_roles(s, n1, n2, fill1, fill2, intro1, intro2)

    b1 = part(s).seq(". . . 6!_3 . . 13_2 .", 6, 90)
    b2 = part(s).seq("13 . . 6!_3 . . 13 18", 6, 90)
    bass.roles = melodic_roles(s, b1, b2, intro1=part(s).seq("6_4 . . . 13_4", 6, 78),
                               final=held(s, [ROOT], 96, 24))
    m1 = part(s).seq("10+18 13 18 10+18 . 13+18 10 13+18", 6, 94)
    m2 = part(s).seq("18 13 10+18 13 18 10+13 . 13+18", 6, 96)
    piano.roles = melodic_roles(s, m1, m2, final=held(s, [10, 13, 18], 104, 24))
    strings.roles = melodic_roles(s, held(s, [10, 13, 18], 100), held(s, [6, 10, 13, 18], 106))
    t1 = part(s).seq(". . . . . . . . . . . . 10+13+18! . 10+13+18_2 .", 3, 102)
    t2 = part(s).seq("10+13+18! . . 10+13+18 . . 10+13+18_2 . . . . . 10+13+18! . . .", 3,
                     104)
    trumpets.roles = melodic_roles(s, t1, t2, final=held(s, [10, 13, 18], 106, 24))
    s.tracks = [bass, piano, strings, trumpets, drums]
    return s


# ----------------------------------------------------------------------------------------
# 3/4


def waltz():
    s = Style("Wz34", 31, "34", "Waltz", "Waltz",
              "Waltz: oom-pah-pah; the bass on 1 (root, then the fifth in the next bar),\n"
              "the accordion on 2 and 3, brushes and a light kick, strings swelling with\n"
              "the phrase and a flute line.")
    h = s.half
    bass = bass_track(32, 61, playmode=1)
    accordion = Track("Accordion", 2, (21, 57, 72, 30), (21, 56, 72, 30), register=2,
                      tight=True)
    strings = Track("Strings", 3, (48, 44, 44, 60), (48, 43, 44, 60), register=2, tight=True,
                    playmode=3)
    flute = Track("Flute", 4, (73, 45, 96, 50), (73, 44, 96, 50), register=3, tight=True,
                  playmode=1)
    drums = drum_track(volume=56, effect=40)

    def groove(second=SNARE, cym=HAT):
        return part(s).hits(KICK, "X..", 12, 84).hits(second, ".xx", 12, 84) \
            .hits(cym, "x.o.o.", 6, 86)

    n1 = groove()
    n2 = groove(cym=RIDE)
    fill1 = n1.first_half(12).merged(part(s).hits(SNARE, "x.xxx.xx", 3, 86, start=12))
    fill1.add(33, MID_TOM, 96, 3)
    fill2 = n2.first_half(12).merged(tom_run(s, 12, [HIGH_TOM, HIGH_TOM, MID_TOM, MID_TOM,
                                                     FLOOR_TOM, FLOOR_TOM], 4, 96))
    intro1 = part(s).hits(TRIANGLE, "x..", 12, 84).hits(HAT, ".xx", 12, 76)
    intro2 = groove().crescendo(0.3)
    drums.roles = drum_roles(s, n1, n2, fill1, fill2, intro1, intro2)

    # One bass note a bar, root and fifth in turn over the four-bar phrase of Normal2.
    b1 = part(s).seq("6!_2 . .", 12, 90)
    b2 = part(s).seq("6!_2 . .", 12, 90)
    bass.roles = melodic_roles(s, b1, b2, normal1_d=part(s).seq("1!_2 . .", 12, 90),
                               normal2_d=part(s).seq("1! . 3", 12, 90))
    bass.roles["normal2_b"] = part(s).seq("1!_2 . .", 12, 90)
    c = "10+13+18"
    accordion.roles = melodic_roles(s, part(s).seq(f". {c} {c}", 12, 106),
                                    part(s).seq(f". {c} {c}", 12, 108).merged(
                                        part(s).seq(f". . . . {c}? .", 6, 108)),
                                    intro1=part(s).seq(f"{c}_3 . .", 12, 92))
    strings.roles = melodic_roles(s, held(s, [10, 13, 18], 100),
                                  part(s).seq("10+13+18_2 . 13+18+22", 12, 104))
    flute.roles = melodic_roles(s, part(s).seq("18!_2 . 20", 12, 90),
                                part(s).seq("22! 20 18 16 13 10", 6, 92))
    s.tracks = [bass, accordion, strings, flute, drums]
    return s


def slow_waltz():
    s = Style("Sw34", 12, "34", "Waltz", "Slow Waltz",
              "Slow (English) waltz: a gentle one-two-three with brushes, the bass on 1,\n"
              "a piano rolling the chord in eighths with the pedal, soft strings and a\n"
              "vibraphone ringing on 2 and 3.")
    bass = Track("Bass", 1, (32, 61, 64, 30), (32, 61, 64, 30), base=-36, register=1,
                 playmode=1)
    piano = Track("Piano", 2, (0, 62, 60, 50), (0, 61, 60, 50), sustain=1, register=2,
                  tight=True)
    strings = Track("Strings", 3, (49, 37, 36, 70), (49, 37, 36, 70), register=2, tight=True,
                    playmode=3)
    vibes = Track("Vibraphone", 4, (11, 66, 96, 60), (11, 65, 96, 60), register=3, tight=True)
    drums = drum_track(playmode=0, volume=68, effect=50)

    def groove(cym=HAT):
        return part(s).hits(KICK, "X..", 12, 72).hits(SNARE, ".xx", 12, 70) \
            .hits(cym, "x.xx.x", 6, 86)

    n1 = groove()
    n2 = groove(cym=RIDE)
    fill1 = n1.first_half(24).merged(part(s).hits(SNARE, "o.x.xx", 2, 84, start=24))
    fill2 = n2.first_half(12).merged(tom_run(s, 12, [HIGH_TOM, MID_TOM, MID_TOM, LOW_TOM,
                                                     FLOOR_TOM, FLOOR_TOM], 4, 92))
    intro1 = part(s).hits(RIDE, "x.x.x.", 6, 76)
    intro2 = part(s).hits(RIDE, "x.xx.x", 6, 80).hits(KICK, "X..", 12, 70).crescendo(0.3)
    drums.roles = drum_roles(s, n1, n2, fill1, fill2, intro1, intro2)

    b1 = part(s).seq("6!_3 . .", 12, 88)
    b2 = part(s).seq("6!_2 . 13", 12, 90)
    bass.roles = melodic_roles(s, b1, b2)
    arp1 = part(s).seq("6! 13 18 22 18 13", 6, 90)
    arp2 = part(s).seq("6! 13 18 22 25 22", 6, 92)
    piano.roles = melodic_roles(s, arp1, arp2, intro1=part(s).seq("6 13 18 22_3", 6, 80))
    strings.roles = melodic_roles(s, held(s, [10, 13, 18], 100), held(s, [6, 10, 13, 18], 106))
    vibes.roles = melodic_roles(s, part(s).seq(". 10+13 10+13", 12, 96),
                                part(s).seq(". 13+18 10+13", 12, 100))
    s.tracks = [bass, piano, strings, vibes, drums]
    return s


def jazz_waltz():
    s = Style("Jw34", 30, "34", "Jazz", "Jazz Waltz",
              "Jazz waltz: the ride's swung 1, 2-and, 3 with the hi-hat foot on 2 and 3,\n"
              "brushed snare comments; a walking bass in quarters, piano comping on 1 and\n"
              "the and of 2, a vibraphone arpeggio and a soft pad.")
    h = s.half
    bass = bass_track(32, 58, playmode=1)
    piano = Track("Piano", 2, (0, 62, 76, 40), (0, 61, 76, 40), register=2, tight=True)
    pad = Track("Pad", 3, (89, 40, 40, 60), (89, 39, 40, 60), register=2, tight=True,
                playmode=3)
    vibes = Track("Vibraphone", 4, (11, 65, 100, 50), (11, 64, 100, 50), register=3,
                  tight=True, playmode=1)
    drums = drum_track(volume=87, effect=40)
    # Triplet grid: a character per triplet eighth (4 steps), three per beat.
    ride = "x..x.xx.."

    def groove(snare="........."):
        return part(s).hits(RIDE, ride, 4, 88).hits(PEDAL_HAT, "...x..x..", 4, 84) \
            .hits(KICK, "g........", 4, 60).hits(SNARE, snare, 4, 70)

    n1 = groove()
    n2 = groove(snare=".....o..o")
    fill1 = n1.first_half(h).merged(part(s).hits(SNARE, "x.xX", 3, 90, start=h))
    fill2 = n2.first_half(12).merged(tom_run(s, 12, [SNARE, SNARE, HIGH_TOM, MID_TOM, LOW_TOM,
                                                     FLOOR_TOM], 4, 96))
    intro1 = part(s).hits(RIDE, ride, 4, 80)
    intro2 = groove().crescendo(0.3)
    drums.roles = drum_roles(s, n1, n2, fill1, fill2, intro1, intro2)

    w1 = part(s).seq("6! 10 13", 12, 90)
    w2 = part(s).seq("6! 13 16", 12, 90)
    bass.roles = melodic_roles(s, w1, w2, normal1_d=part(s).seq("6! 13 17", 12, 90))
    c = "10+16+20"
    # On the triplet grid: beat 1 and the swung and of 2 (the third triplet of beat 2).
    piano.roles = melodic_roles(s, part(s).seq(f"{c}_2 . . . . {c}_2 . .", 4, 106),
                                part(s).seq(f". . . . . {c} . . {c}", 4, 108),
                                final=held(s, [10, 16, 20], 104, 24))
    pad.roles = melodic_roles(s, held(s, [10, 13, 16], 100), held(s, [10, 16, 20], 104))
    vibes.roles = melodic_roles(s, part(s).seq("6! 10 13 16 20 16", 6, 90),
                                part(s).seq("20! 16 13 10 13 16", 6, 92))
    s.tracks = [bass, piano, pad, vibes, drums]
    return s


# ----------------------------------------------------------------------------------------
# 2/4


def march():
    s = Style("Mr24", 31, "24", "March", "Brass March",
              "March in two: bass drum on both beats, the snare's ruffs and rolls, cymbal on\n"
              "the off-beats; a tuba walking root and fifth, brass chords on the off-beats,\n"
              "clarinets holding the harmony, a piccolo figure.")
    h = s.half
    bass = bass_track(58, 61, playmode=1)
    brass = Track("Brass", 2, (61, 69, 70, 30), (61, 68, 70, 30), register=2, tight=True)
    clarinets = Track("Clarinets", 3, (71, 39, 44, 40), (71, 38, 44, 40), register=2,
                      tight=True, playmode=3)
    piccolo = Track("Piccolo", 4, (72, 50, 96, 40), (72, 49, 96, 40), register=3, tight=True,
                    playmode=1)
    drums = drum_track(volume=47, effect=30)

    def groove(roll=False):
        p = part(s).hits(KICK, "X...x...", 3, 96).hits(CRASH, "..x...x.", 3, 56)
        p.hits(SNARE, "x.oox.xo" if not roll else "xoxoxxxo", 3, 80)
        return p

    n1 = groove()
    n2 = groove(roll=True)
    fill1 = n1.first_half(h).merged(part(s).hits(SNARE, "xxxX", 3, 90, start=h))
    fill2 = part(s).hits(SNARE, "xxxxxxxX", 3, 84).add(0, KICK, 96).add(h, KICK, 96)
    fill2.crescendo(0.6)
    intro1 = part(s).hits(SNARE, "x.oox.oo", 3, 70)
    intro2 = groove().crescendo(0.3)
    drums.roles = drum_roles(s, n1, n2, fill1, fill2, intro1, intro2)

    b1 = part(s).seq("6! 1", 12, 90)
    b2 = part(s).seq("6! . 1 3", 6, 90)
    bass.roles = melodic_roles(s, b1, b2, normal2_d=part(s).seq("6! 13 11 10", 6, 90))
    c = "10+13+18"
    brass.roles = melodic_roles(s, part(s).seq(f". {c} . {c}", 6, 106),
                                part(s).seq(f". {c} {c}? {c}", 6, 108),
                                intro1=part(s).seq(f"{c}!_2 . {c}!_2 .", 6, 100))
    clarinets.roles = melodic_roles(s, held(s, [10, 13, 18], 100), held(s, [6, 10, 13], 104))
    piccolo.roles = melodic_roles(s, part(s).seq("18! 22 25 22 18 22 25 30", 3, 90),
                                  part(s).seq("30! 25 22 18 22 25 30_2", 3, 92))
    s.tracks = [bass, brass, clarinets, piccolo, drums]
    return s


def polka():
    s = Style("Pk24", 30, "24", "Polka", "Polka",
              "Polka: oom-pah in two; the bass alternating root and fifth on the beats, the\n"
              "accordion on the off-beats, the snare's off-beat chops, a clarinet line\n"
              "written from the key (key-relative) and a tuba doubling underneath.")
    h = s.half
    bass = Track("Bass", 1, (58, 63, 64, 20), (58, 63, 64, 20), base=-36, register=1,
                 playmode=1)
    accordion = Track("Accordion", 2, (21, 59, 76, 30), (21, 58, 76, 30), register=2,
                      tight=True)
    clarinet = Track("Clarinet", 3, (71, 44, 40, 40), (71, 43, 40, 40), styleflag1=1,
                     register=3, tight=True)
    horns = Track("Horns", 4, (60, 36, 92, 40), (60, 35, 92, 40), register=2, tight=True,
                  playmode=3)
    drums = drum_track(volume=56, effect=30)

    def groove(cym=HAT):
        return part(s).hits(KICK, "X.x.", 6, 90).hits(SNARE, ".x.x", 6, 86) \
            .hits(cym, ".x.x", 6, 84)

    n1 = groove()
    n2 = groove(cym=CRASH).merged(part(s).hits(SNARE, "...o...o", 3, 50))
    fill1 = n1.first_half(h).merged(part(s).hits(SNARE, "xoxX", 3, 86, start=h))
    fill2 = part(s).hits(SNARE, "x.xxx.xX", 3, 86).add(0, KICK, 96).add(18, FLOOR_TOM, 100)
    fill2.crescendo(0.3)
    intro1 = part(s).hits(SNARE, ".x.x", 6, 66).hits(KICK, "x.x.", 6, 70)
    intro2 = groove().crescendo(0.3)
    drums.roles = drum_roles(s, n1, n2, fill1, fill2, intro1, intro2)

    b1 = part(s).seq("6! . 1 .", 6, 90)
    b2 = part(s).seq("6! . 13 .", 6, 90)
    bass.roles = melodic_roles(s, b1, b2)
    c = "10+13+18"
    accordion.roles = melodic_roles(s, part(s).seq(f". {c} . {c}", 6, 106),
                                    part(s).seq(f". {c} {c}? {c}", 6, 108))
    # Key-relative: 64, 67 and 72 are the key's third, fifth and octave, on chord tones.
    clarinet.roles = melodic_roles(s, part(s).seq("72! 67 64 67", 6, 90),
                                   part(s).seq("72! 76 79 76 72 67 64 67", 3, 92),
                                   final=held(s, [72], 96, 12))
    # Horns swell on the beat and breathe on the second: a soft re-strike, louder in Normal2.
    horns.roles = melodic_roles(s, part(s).seq("10+13_2 . 10+13?_2 .", 6, 98),
                                part(s).seq("10+13+18!_2 . 10+13+18_2 .", 6, 102))
    s.tracks = [bass, accordion, clarinet, horns, drums]
    return s


# ----------------------------------------------------------------------------------------
# 6/8


def ballad_68():
    s = Style("Bd68", 31, "68", "Ballad", "Ballad",
              "6/8 ballad: the two big beats of a compound bar, kick on 1, the snare on 4,\n"
              "all six eighths on the hi-hat; piano rolling the eighths with the pedal,\n"
              "bass on the dotted quarters, strings and a choir pad.")
    h = s.half
    bass = bass_track(33, 59, playmode=1)
    piano = Track("Piano", 2, (0, 65, 58, 50), (0, 64, 58, 50), sustain=1, register=2,
                  tight=True)
    strings = Track("Strings", 3, (48, 45, 40, 60), (48, 44, 40, 60), register=2, tight=True,
                    playmode=3)
    choir = Track("Choir", 4, (52, 45, 90, 70), (52, 44, 90, 70), register=2, tight=True)
    drums = drum_track(volume=46, effect=50)

    def groove(cym=HAT, extra=False):
        p = part(s).hits(KICK, "X....." if not extra else "X....x", 6, 84)
        p.hits(SNARE, "...X..", 6, 86).hits(cym, "xoxxox", 6, 86)
        return p

    n1 = groove()
    n2 = groove(cym=RIDE, extra=True)
    fill1 = n1.first_half(h).merged(part(s).hits(SNARE, "x.x.xX", 3, 92, start=h))
    fill2 = n2.first_half(h).merged(tom_run(s, h, [HIGH_TOM, MID_TOM, LOW_TOM, FLOOR_TOM,
                                                   FLOOR_TOM, FLOOR_TOM], 3, 98))
    intro1 = part(s).hits(RIDE, "x.xx.x", 6, 78)
    intro2 = part(s).hits(KICK, "X..x..", 6, 84).hits(HAT, "xoxxox", 6, 80).crescendo(0.3)
    drums.roles = drum_roles(s, n1, n2, fill1, fill2, intro1, intro2)

    b1 = part(s).seq("6!_3 . . 13_3 . .", 6, 90)
    b2 = part(s).seq("6!_2 . 18 1_2 . 3", 6, 90)
    bass.roles = melodic_roles(s, b1, b2)
    arp1 = part(s).seq("6! 13 18 22 18 13", 6, 90)
    arp2 = part(s).seq("6! 13 18 22 25 18", 6, 94)
    piano.roles = melodic_roles(s, arp1, arp2, intro1=part(s).seq("6 13 18 22_3", 6, 80))
    strings.roles = melodic_roles(s, held(s, [10, 13, 18], 100), held(s, [6, 10, 13, 18], 106))
    choir.roles = melodic_roles(s, held(s, [10, 13], 98, 17).merged(
                                    held(s, [13, 18], 98, 17, 18)),
                                held(s, [10, 13, 18], 106))
    s.tracks = [bass, piano, strings, choir, drums]
    return s


def jig():
    s = Style("Jg68", 30, "68", "Folk", "Jig / Tarantella",
              "Jig / tarantella: fast compound time driven by the tambourine on every eighth\n"
              "and a frame-drum kick on 1 and 4; the bass on the dotted quarters, the guitar\n"
              "strumming oom-pah-pah twice a bar, an accordion pad, a fiddle running arpeggios.")
    h = s.half
    bass = bass_track(32, 54, playmode=1)
    guitar = Track("Guitar", 2, (25, 49, 76, 30), (25, 48, 76, 30), register=2, tight=True)
    accordion = Track("Accordion", 3, (21, 49, 40, 30), (21, 48, 40, 30), register=2,
                      tight=True, playmode=3)
    fiddle = Track("Fiddle", 4, (40, 47, 96, 40), (110, 46, 96, 40), register=3, tight=True,
                   playmode=1)
    drums = drum_track(volume=44, effect=30)

    def groove(second=False):
        p = part(s).hits(KICK, "X..x.." if not second else "X..X.x", 6, 88)
        p.hits(TAMBOURINE, "Xoxxox", 6, 88).hits(SNARE, "....o." if not second else ".o..o.",
                                                   6, 76)
        return p

    n1 = groove()
    n2 = groove(second=True)
    fill1 = n1.first_half(h).merged(part(s).hits(SNARE, "xxxxXX", 3, 92, start=h))
    fill2 = n2.first_half(h).merged(tom_run(s, h, [HIGH_TOM, HIGH_TOM, MID_TOM, LOW_TOM,
                                                   FLOOR_TOM, FLOOR_TOM], 3, 98))
    intro1 = part(s).hits(TAMBOURINE, "Xoxxox", 6, 82)
    intro2 = groove().crescendo(0.6)
    drums.roles = drum_roles(s, n1, n2, fill1, fill2, intro1, intro2)

    b1 = part(s).seq("6!_3 . . 1_3 . .", 6, 90)
    b2 = part(s).seq("6!_2 . 13 1_2 . 3", 6, 90)
    bass.roles = melodic_roles(s, b1, b2)
    c = "10+13+18"
    guitar.roles = melodic_roles(s, part(s).seq(f". {c} {c} . {c} {c}", 6, 106),
                                 part(s).seq(f"{c}? {c} {c} {c}? {c} {c}", 6, 108))
    accordion.roles = melodic_roles(s, held(s, [10, 13, 18], 100), held(s, [6, 10, 13], 104))
    fiddle.roles = melodic_roles(s, part(s).seq("18! 13 10 13! 18 22", 6, 90),
                                 part(s).seq("18! 22 25 22! 18 13", 6, 94))
    s.tracks = [bass, guitar, accordion, fiddle, drums]
    return s


GENRES = [pop_8beat, rock, ballad, disco, shuffle, bossa, rumba,
          waltz, slow_waltz, jazz_waltz, march, polka, ballad_68, jig]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for make in GENRES:
        style = make()
        name = "%s%02d" % (style.code, style.version)
        with open(os.path.join(here, name + ".txt"), "w") as f:
            f.write(format_style(style))
        print("wrote", name + ".txt")


if __name__ == "__main__":
    main()
