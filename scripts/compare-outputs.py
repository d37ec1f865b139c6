#!/usr/bin/env python3
"""Runs every program of a build on a fixed set of songs and keeps what they write, so that two
builds can be compared byte for byte (a rearrangement of the code must not change one byte).

  compare-outputs.py record BUILD OUT      writes every output of BUILD's programs under OUT
  compare-outputs.py check BUILD BEFORE    records BUILD into a fresh folder and compares it with
                                           BEFORE (a record of an earlier build); exit 1 on any
                                           difference, naming the files

What it runs, in fresh program folders:
- the fixture songs: the demo melody, the song loader's fixture and the two import fixtures
  taken in by Quenby, and the demo melody imported in each time signature and in other keys;
- Ambrel in its three modes, Sorvik with and without key changes, Tressil in every AcMode with
  and without style changes (seeded run key), on each song;
- Compose with every library and test style in the first slot and the others of its time
  signature and step grid after it, on each song of that time signature, with the chord maker's
  chords and with a chord sheet that uses every section code and switches to every slot, in
  three sets of play modes and command-line options; the output is decoded with the run code
  the composer reported; also the 259-measure benchmark song;
- Quenby importing the fixtures and the demo melody with several track, meter and time options;
- stylec decoding every style file, and the style files themselves;
- a few refused runs of each worker (their messages and completions).
Completion codes that come from the clock (the composer's run code) are not kept; everything
else the programs write or report is.
"""
import importlib.util
import os
import random
import shutil
import socket
import stat
import struct
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WM_KEYUP = 257
FAILED = 0x20000000
TRESSIL_SEED = "7"
SORVIK_HANDSHAKE = 31470952
VERSION = 2426
CHORD_EDITOR_KEY = 0x37


# ---------------------------------------------------------------------------------------------
# Completion receiver (the datagram a worker posts to its caller's handle)

def completion_folder():
    runtime = os.environ.get("XDG_RUNTIME_DIR", "")
    if runtime.startswith("/") and os.path.isdir(runtime):
        return os.path.join(runtime, "orvella")
    return "/tmp/orvella-%d" % os.geteuid()


class Receiver:
    def __init__(self):
        folder = completion_folder()
        if not os.path.isdir(folder):
            os.mkdir(folder, 0o700)
        info = os.lstat(folder)
        if not stat.S_ISDIR(info.st_mode) or info.st_uid != os.geteuid() or info.st_mode & 0o077:
            raise SystemExit("the completion folder %s is not private" % folder)
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_DGRAM)
        for _ in range(100):
            self.handle = random.randint(100000, 2116010269)
            self.path = os.path.join(folder, "hwnd.%d" % self.handle)
            try:
                self.sock.bind(self.path)
                return
            except OSError:
                continue
        raise SystemExit("cannot bind a completion socket")

    def receive(self):
        self.sock.settimeout(0.2)
        try:
            data = self.sock.recv(64)
        except socket.timeout:
            return None
        if len(data) != 12:
            return None
        return struct.unpack("<III", data)

    def close(self):
        self.sock.close()
        try:
            os.unlink(self.path)
        except OSError:
            pass


# ---------------------------------------------------------------------------------------------
# Helpers

class Build:
    def __init__(self, path):
        self.path = os.path.abspath(path)
        self.bin = os.path.join(self.path, "bin")
        self.devtools = os.path.join(self.path, "devtools")
        for program in ("Ambrel", "Sorvik", "Tressil", "Compose", "Quenby"):
            if not os.path.exists(os.path.join(self.bin, program)):
                raise SystemExit("%s has no %s: build it first" % (self.bin, program))

    def program(self, name):
        return os.path.join(self.bin, name)

    def tool(self, name):
        return os.path.join(self.devtools, name)

    def style_file(self, name):
        # The test styles may sit in the program folder or in a folder of their own.
        for folder in (self.bin, os.path.join(self.path, "test-styles")):
            path = os.path.join(folder, name + ".sty")
            if os.path.exists(path):
                return path
        raise SystemExit("no style file %s.sty in %s" % (name, self.path))


def style_names(folder):
    return sorted(f[:-4] for f in os.listdir(os.path.join(ROOT, folder))
                  if len(f) == 10 and f.endswith(".txt"))


def read(path):
    with open(path, "rb") as f:
        return f.read()


def write(path, data):
    with open(path, "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode())


class Recorder:
    def __init__(self, out):
        self.out = out
        self.count = 0

    def keep(self, case, name, data):
        folder = os.path.join(self.out, case)
        os.makedirs(folder, exist_ok=True)
        write(os.path.join(folder, name), data)
        self.count += 1

    def keep_files(self, case, folder, names):
        for name in names:
            path = os.path.join(folder, name)
            self.keep(case, name, read(path) if os.path.exists(path) else b"(missing)")


def run_worker(build, folder, program, make_args, env=None):
    """Runs a worker with a fresh completion handle; returns (exit code, completion)."""
    receiver = Receiver()
    try:
        args = make_args(receiver.handle).split(" ")
        full_env = dict(os.environ)
        full_env.update(env or {})
        result = subprocess.run([build.program(program)] + args, cwd=folder, env=full_env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        return result.returncode, receiver.receive()
    finally:
        receiver.close()


def report(code, completion, keep_wparam=True):
    if completion is None:
        return "exit %d, no completion\n" % code
    message, wparam, lparam = completion
    return "exit %d, completion %d %s %s\n" % (
        code, message, wparam if keep_wparam else "(run code)", "failed" if lparam & FAILED else "ok")


def chord_data_plain(stored, key):
    return bytes((b - key - 1 - 3 * (i + 1)) & 0xFF for i, b in enumerate(stored))


def chord_data_coded(plain, key):
    return bytes((b + key + 1 + 3 * (i + 1)) & 0xFF for i, b in enumerate(plain))


def decode_output(output, run_code):
    """The front end's decoding: the plain head (header and two tracks) stays, every later byte
    gets the run code and a counter that climbs from 2 to 255."""
    pos = 14
    for _ in range(2):
        if output[pos:pos + 4] != b"MTrk":
            return None
        pos += 8 + int.from_bytes(output[pos + 4:pos + 8], "big")
    head, body = output[:pos], bytearray(output[pos:])
    for i in range(min(len(body), 253)):
        body[i] = (body[i] + run_code + i + 2) & 0xFF
    if len(body) > 253:
        table = bytes((b + run_code + 255) & 0xFF for b in range(256))
        body[253:] = bytes(body[253:]).translate(table)
    return head + bytes(body)


def midihex(build, source, target):
    subprocess.run([build.tool("midihex"), source, target], check=True)


# ---------------------------------------------------------------------------------------------
# Songs

QUENBY_OUTPUTS = ["InPut.bin", "KqList.dat", "Tempos.dat", "Events.dat", "Error4.msg"]


def quenby_line(job, handle, run_mode=0):
    values = [job[k] for k in ("track", "beats", "sf", "tonic", "tempo", "factor", "offzero",
                               "intro", "ending", "vel")]
    total = (handle + sum(values)) & 0xFFFFFFFF
    if total >= 1 << 31:
        total -= 1 << 32
    return " ".join(str(v) for v in values) + " %d %d %d" % (total, handle, run_mode)


def quenby_job(**changes):
    job = dict(track=1, beats=4, sf=0, tonic=60, tempo=120, factor=1, offzero=0, intro=0,
               ending=0, vel=100)
    job.update(changes)
    return job


def import_song(build, rec, work, case, source, job):
    folder = tempfile.mkdtemp(dir=work)
    shutil.copy(source, os.path.join(folder, "InpMel.bin"))
    code, completion = run_worker(build, folder, "Quenby", lambda h: quenby_line(job, h))
    rec.keep(case, "run.txt", report(code, completion))
    rec.keep_files(case, folder, QUENBY_OUTPUTS)
    song = os.path.join(folder, "InPut.bin")
    return song if code == 0 else None


def make_songs(build, rec, work):
    """The fixture songs by time signature: {meter: [(name, path)]}."""
    sources = os.path.join(work, "sources")
    os.makedirs(sources)
    demo = os.path.join(sources, "demo.mid")
    midihex(build, os.path.join(ROOT, "demo", "ode_to_joy.txt"), demo)
    loader_fixture = os.path.join(sources, "c_major_4_4.mid")
    midihex(build, os.path.join(ROOT, "tests/workers/songloader/fixtures/c_major_4_4.txt"),
            loader_fixture)
    format1 = os.path.join(sources, "format1.mid")
    midihex(build, os.path.join(ROOT, "tests/workers/melody/fixtures/format1_division384.mid.txt"),
            format1)
    format0 = os.path.join(sources, "format0.mid")
    midihex(build, os.path.join(ROOT, "tests/workers/melody/fixtures/format0_division480.mid.txt"),
            format0)

    songs = {"4/4": [("demo", demo), ("loader-fixture", loader_fixture)], "2/4": [], "3/4": [],
             "6/8": []}
    imports = [
        ("import-format1", format1, quenby_job(offzero=1), None),
        ("import-format0", format0,
         quenby_job(sf=1, tonic=67, tempo=100, intro=1, ending=1, vel=70), "4/4"),
        ("import-format0-ch2", format0, quenby_job(track=2, beats=3, factor=2, vel=150), None),
        ("import-demo-2-4", demo, quenby_job(track=1, beats=2, sf=-1, tonic=65, tempo=96), "2/4"),
        ("import-demo-3-4", demo,
         quenby_job(track=1, beats=3, sf=2, tonic=62, tempo=132, intro=2, ending=1), "3/4"),
        ("import-demo-6-8", demo,
         quenby_job(track=1, beats=6, sf=-3, tonic=63, tempo=80, factor=2, vel=60), "6/8"),
        ("import-demo-4-4-minor", demo,
         quenby_job(track=1, beats=4, sf=0, tonic=69, tempo=240, offzero=1, ending=3), "4/4"),
        ("import-missing-track", format1, quenby_job(track=9), None),
    ]
    for name, source, job, meter in imports:
        song = import_song(build, rec, work, "quenby/" + name, source, job)
        if song and meter:
            kept = os.path.join(sources, name + ".mid")
            shutil.copy(song, kept)
            songs[meter].append((name, kept))
    return songs


# ---------------------------------------------------------------------------------------------
# The worker chain on one song

AMBREL_OUTPUTS = ["Error1.msg", "Temps.aco", "Temps2.aco", "Notes.dat", "Notes.aco", "BtData.dat"]
SORVIK_OUTPUTS = ["KeyCode.dat", "KeysData.Aco", "kInfo.aco", "kErr1.msg"]


def sorvik_args(handle, flag):
    return "%d %d %d %d" % (handle, VERSION, handle + SORVIK_HANDSHAKE + VERSION, flag)


def run_tressil(build, rec, folder, case, ac_mode, phrase):
    code, completion = run_worker(build, folder, "Tressil",
                                  lambda h: "%d %d %d %d" % (ac_mode, h, VERSION, phrase),
                                  {"TRESSIL_SEED": TRESSIL_SEED})
    rec.keep(case, "run.txt", report(code, completion))
    rec.keep_files(case, folder, ["Error2.msg", "Error1.msg", "MsInfo.dat"])
    key = None
    data = os.path.join(folder, "Data.aco")
    if code == 0 and completion and os.path.exists(data):
        key = completion[1]
        rec.keep(case, "Data.aco.plain", chord_data_plain(read(data), key))
    return key


def chain(build, rec, work, name, song):
    """Ambrel, Sorvik and Tressil on a song; returns the program folder ready for Compose with
    the chord maker's chords, and their key."""
    base = "chain/" + name
    for mode in ("/0", "/1", "/2"):
        folder = tempfile.mkdtemp(dir=work)
        shutil.copy(song, os.path.join(folder, "InPut.bin"))
        code, completion = run_worker(build, folder, "Ambrel",
                                      lambda h: "%s InPut.bin %d %d" % (mode, h, VERSION))
        case = "%s/ambrel%s" % (base, mode.replace("/", "-"))
        rec.keep(case, "run.txt", report(code, completion))
        rec.keep_files(case, folder, AMBREL_OUTPUTS)
    if code != 0:
        return None, None
    for flag in (0, 1):
        code, completion = run_worker(build, folder, "Sorvik", lambda h: sorvik_args(h, flag))
        case = "%s/sorvik-%d" % (base, flag)
        rec.keep(case, "run.txt", report(code, completion))
        rec.keep_files(case, folder, SORVIK_OUTPUTS)
    if not os.path.exists(os.path.join(folder, "KeysData.Aco")):
        return None, None
    key = None
    for ac_mode in (1, 2, 3, 4):
        for phrase in (0, 2):
            got = run_tressil(build, rec, folder, "%s/tressil-%d-%d" % (base, ac_mode, phrase),
                              ac_mode, phrase)
            if ac_mode == 3 and phrase == 2:
                key = got
                kept = read(os.path.join(folder, "Data.aco"))
    if key is None:
        return None, None
    write(os.path.join(folder, "Data.aco"), kept)
    return folder, key


def section_sheet(measures):
    """A chord sheet that uses every section code in both code columns and switches to every
    slot, coded with the chord editor's key."""
    chords = ["C....", "A.m..", "F..7.", "G..7.", "E.m..", "D.m7.", "Bbm..", "C.s..", "F#..o",
              "D..9.", "EbM7.", "G...+"]
    codes = [4, 3, 0, 2, 5, 1, 7, 0, 6, 0, 3, 9, 0, 5, 1, 2, 7, 0, 0, 5, 2, 6, 0, 8]
    plain = ""
    for m in range(measures):
        code = codes[m % len(codes)] if m < measures - 1 else 8
        inst = codes[(m + 3) % len(codes)] if m < measures - 1 else 8
        slot = (m // 3) % 5 + 1 if m % 3 == 0 and m > 0 else 0
        chord1 = chords[(2 * m) % len(chords)]
        chord2 = "....." if m % 4 == 1 else chords[(2 * m + 1) % len(chords)]
        plain += "%03d:%d:%s:%d:%s:%d:%d:%-10s;" % (m, code, chord1, m % 3, chord2, inst, slot, "")
    return chord_data_coded(plain.encode(), CHORD_EDITOR_KEY)


# ---------------------------------------------------------------------------------------------
# Styles and the composer

def record_lines(data):
    """The plain track records of a style file, found the way the front end scans for them."""
    records = []
    pos = 0
    while pos + 5 <= len(data):
        window = data[pos:pos + 5]
        if window == b"Mtrk,":
            end = data.find(b"\n", pos)
            records.append(data[pos:end if end >= 0 else len(data)].decode("latin-1"))
            pos += 768
            continue
        m = window.find(b"M")
        pos += 5 if m < 0 else (1 if m == 0 else m)
    return records


def mode_codes(style_path):
    codes = []
    for line in record_lines(read(style_path)):
        fields = line.split(",")
        codes.append((int(fields[1]), int(fields[11]) if len(fields) > 11 else 0))
    return codes


def v_para(build, styles, variant):
    lines = ""
    for slot, name in enumerate(styles):
        codes = mode_codes(build.style_file(name))
        modes = [0] * 5
        for i, (channel, code) in enumerate(codes[:5]):
            part = 4 if channel == 9 else min(i, 3)
            play = code % 10
            sustain = code // 100 % 2
            if variant == "proposed":
                modes[part] = sustain * 10 + play
            elif variant == "rotated":
                modes[part] = (play + 1) % 2 if part == 4 else (play + 1 + slot) % 4
        programs = [0] * 5
        volumes = [0] * 5
        volume = 80
        if variant == "overridden":
            programs = [(slot * 7 + p * 11) % 128 + 1 for p in range(5)]
            volumes = [40 + 15 * p for p in range(5)]
            volume = 60 + 10 * slot
        values = [volume] + programs + volumes + modes
        lines += ",".join("%03d" % v for v in values) + "\r\n"
    return lines


OPTION_SETS = {
    "proposed": "4 3 3 1 {names} 49 89 {key} {hwnd} 1 0 0 1 2426",
    "rotated": "1 0 9 0 {names} 0 127 {key} {hwnd} 0 0 0 1 2426",
    "overridden": "2 9 9 2 {names} 52 52 {key} {hwnd} 1 0 0 1 2426",
}
COMPOSE_OUTPUTS = ["Error3.msg", "Error2.msg", "cPara.dat", "sty.err", "Temp.dat"]


def compose(build, rec, folder, case, styles, variant, key, extra=None):
    for name in set(styles):
        shutil.copy(build.style_file(name), os.path.join(folder, name + ".sty"))
    write(os.path.join(folder, "vPara.dat"), v_para(build, styles, variant))
    for name in ("ComposeOut.bin", "cPara.dat", "sty.err", "Temp.dat", "Error3.msg"):
        if os.path.exists(os.path.join(folder, name)):
            os.unlink(os.path.join(folder, name))
    names = " ".join(s + ".sty" for s in styles)
    line = OPTION_SETS[variant] if extra is None else extra
    code, completion = run_worker(build, folder, "Compose",
                                  lambda h: line.format(names=names, key=key, hwnd=h))
    ok = code == 0 and completion is not None and not completion[2] & FAILED
    rec.keep(case, "run.txt", report(code, completion, keep_wparam=not ok))
    rec.keep_files(case, folder, COMPOSE_OUTPUTS)
    output = os.path.join(folder, "ComposeOut.bin")
    if ok:
        decoded = decode_output(read(output), completion[1] + 1)
        rec.keep(case, "song.mid", decoded if decoded is not None else b"(undecodable)")
    elif os.path.exists(output):
        rec.keep(case, "ComposeOut.head", read(output)[:14])


def slot_styles(first, family):
    """`first`, then the other styles of its time signature and step grid in turn."""
    others = [s for s in family if s != first]
    order = [first] + others
    return [order[i % len(order)] for i in range(5)]


def step_grid(name):
    return 8 if int(name[4:6]) < 10 else 12


def compose_all(build, rec, work, songs, library, test_styles):
    every = [(s, "library") for s in library] + [(s, "test") for s in test_styles]
    for meter, entries in songs.items():
        digits = meter.replace("/", "")
        in_meter = [(s, kind) for s, kind in every if s[2:4] == digits]
        for song_name, song in entries:
            folder, key = chain(build, rec, work, song_name, song)
            if folder is None:
                continue
            tressil_chords = read(os.path.join(folder, "Data.aco"))
            measures = len(chord_data_plain(tressil_chords, key)) // 35
            sheets = {"tressil": (tressil_chords, key),
                      "sections": (section_sheet(max(measures, 24)), CHORD_EDITOR_KEY)}
            for style, kind in in_meter:
                family = [s for s, _ in in_meter if step_grid(s) == step_grid(style)]
                styles = slot_styles(style, family)
                for sheet_name, (chords, chord_key) in sheets.items():
                    write(os.path.join(folder, "Data.aco"), chords)
                    for variant in OPTION_SETS:
                        case = "compose/%s/%s/%s-%s/%s" % (song_name, sheet_name, kind, style,
                                                           variant)
                        compose(build, rec, folder, case, styles, variant, chord_key)


def compose_refusals(build, rec, work, songs, library, test_styles):
    song_name, song = songs["4/4"][0]
    folder, key = chain(build, rec, work, "refusals-" + song_name, song)
    grid8 = [s for s in test_styles if s[2:4] == "44" and step_grid(s) == 8][0]
    cases = {
        "mixed-grids": (["8B4431", grid8, "8B4431", "8B4431", "8B4431"], key, None),
        "wrong-meter": (["Wz3431"] * 5, key, None),
        "wrong-chord-key": (["8B4431"] * 5, (key % 9) + 49 if key != 57 else 50, None),
        "missing-style": (["8B4431"] * 5, key,
                          "4 3 3 1 8B4431.sty 8B4431.sty Nn4431.sty 8B4431.sty 8B4431.sty "
                          "49 89 {key} {hwnd} 1 0 0 1 2426"),
        "wrong-version": (["8B4431"] * 5, key, "4 3 3 1 {names} 49 89 {key} {hwnd} 1 0 0 1 2425"),
    }
    for name, (styles, chord_key, line) in cases.items():
        compose(build, rec, folder, "refusals/compose-" + name, styles, "proposed", chord_key,
                line)
    # A song input with one track and chord data of the right key.
    write(os.path.join(folder, "InPut.bin"), read(song)[:14 + 8] + b"\x00\xff\x2f\x00")
    compose(build, rec, folder, "refusals/compose-one-track", ["8B4431"] * 5, "proposed", key)


def worker_refusals(build, rec, work, songs):
    song = songs["4/4"][0][1]
    folder = tempfile.mkdtemp(dir=work)
    write(os.path.join(folder, "InPut.bin"), read(song)[:40])
    code, completion = run_worker(build, folder, "Ambrel",
                                  lambda h: "/2 InPut.bin %d %d" % (h, VERSION))
    rec.keep("refusals/ambrel-cut-song", "run.txt", report(code, completion))
    rec.keep_files("refusals/ambrel-cut-song", folder, AMBREL_OUTPUTS)
    code, completion = run_worker(build, folder, "Sorvik", lambda h: "%d %d %d 1" % (h, VERSION, h))
    rec.keep("refusals/sorvik-token", "run.txt", report(code, completion))
    rec.keep_files("refusals/sorvik-token", folder, SORVIK_OUTPUTS)
    folder = tempfile.mkdtemp(dir=work)
    shutil.copy(song, os.path.join(folder, "InPut.bin"))
    run_worker(build, folder, "Ambrel", lambda h: "/2 InPut.bin %d %d" % (h, VERSION))
    write(os.path.join(folder, "KeysData.Aco"), b"")
    run_tressil(build, rec, folder, "refusals/tressil-empty-key-list", 3, 0)
    write(os.path.join(folder, "KeysData.Aco"), b"001:01;H  Major\r\n")
    run_tressil(build, rec, folder, "refusals/tressil-bad-key", 3, 0)
    run_tressil(build, rec, folder, "refusals/tressil-acmode-0", 0, 0)


def benchmark_song(build, rec, work):
    spec = importlib.util.spec_from_file_location(
        "time_compose", os.path.join(ROOT, "bench", "composer", "time_compose.py"))
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    folder = tempfile.mkdtemp(dir=work)
    line = module.write_inputs(folder)
    fields = line.split(" ")
    fields[fields.index("12345")] = "{hwnd}"
    code, completion = run_worker(build, folder, "Compose",
                                  lambda h: " ".join(fields).replace("{hwnd}", str(h)))
    ok = code == 0 and completion is not None and not completion[2] & FAILED
    rec.keep("compose/benchmark-259", "run.txt", report(code, completion, keep_wparam=not ok))
    rec.keep_files("compose/benchmark-259", folder, COMPOSE_OUTPUTS)
    if ok:
        rec.keep("compose/benchmark-259", "song.mid",
                 decode_output(read(os.path.join(folder, "ComposeOut.bin")), completion[1] + 1))


def styles_and_stylec(build, rec, work, library, test_styles):
    for name in library + test_styles:
        path = build.style_file(name)
        rec.keep("styles", name + ".sty", read(path))
        copy = os.path.join(work, name + ".sty")
        shutil.copy(path, copy)
        result = subprocess.run([build.tool("stylec"), "decode", copy], capture_output=True)
        rec.keep("stylec", name + ".txt", result.stdout + b"\n-- exit %d\n" % result.returncode)


def record(build_dir, out):
    build = Build(build_dir)
    if os.path.exists(out):
        shutil.rmtree(out)
    os.makedirs(out)
    rec = Recorder(out)
    library = style_names("styles")
    test_styles = style_names("tests/styles")
    work = tempfile.mkdtemp(prefix="orvella-compare-")
    try:
        songs = make_songs(build, rec, work)
        styles_and_stylec(build, rec, work, library, test_styles)
        compose_all(build, rec, work, songs, library, test_styles)
        compose_refusals(build, rec, work, songs, library, test_styles)
        worker_refusals(build, rec, work, songs)
        benchmark_song(build, rec, work)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("recorded %d files of %s in %s" % (rec.count, build.path, out))


def files_under(folder):
    found = set()
    for base, _, names in os.walk(folder):
        for name in names:
            found.add(os.path.relpath(os.path.join(base, name), folder))
    return found


def check(build_dir, before):
    after = tempfile.mkdtemp(prefix="orvella-compare-after-")
    try:
        record(build_dir, after)
        old, new = files_under(before), files_under(after)
        problems = ["only before: " + f for f in sorted(old - new)]
        problems += ["only after: " + f for f in sorted(new - old)]
        problems += ["differs: " + f for f in sorted(old & new)
                     if read(os.path.join(before, f)) != read(os.path.join(after, f))]
        for line in problems[:200]:
            print(line)
        if problems:
            print("%d differences; the new record stays in %s" % (len(problems), after))
            return 1
        print("all %d files are byte-identical" % len(old))
        shutil.rmtree(after)
        return 0
    except BaseException:
        print("the new record stays in %s" % after)
        raise


def main():
    if len(sys.argv) != 4 or sys.argv[1] not in ("record", "check"):
        print(__doc__.split("\n\n")[1])
        return 2
    if sys.argv[1] == "record":
        record(sys.argv[2], sys.argv[3])
        return 0
    return check(sys.argv[2], sys.argv[3])


if __name__ == "__main__":
    sys.exit(main())
