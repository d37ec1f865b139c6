#!/usr/bin/env python3
"""Times the whole chain on a 259-measure song in C major, the way the front end drives it:
Ambrel, Sorvik (key list), Tressil and Compose with five library styles, each started through
runworker with a fresh completion handle, then the output decoded with decodeout. Prints the median of the whole chain and of each step, and with valgrind
installed the instructions each worker executes in one run (start-up and dynamic loading
included), which the load of the machine does not disturb.

Usage: time_chain.py [build folder] [runs]
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "composer"))
import time_compose  # noqa: E402  the variable-length numbers

MEASURES = 259
STYLES = ["8B4431", "Ds4433", "Rk4430", "Bl4412", "Bs4432"]
# A tune in C major of four quarter notes a measure that closes on the tonic.
TUNE = [60, 64, 67, 64, 65, 62, 59, 62, 64, 60, 57, 60, 62, 67, 65, 64,
        69, 67, 65, 64, 62, 64, 65, 67, 60, 62, 64, 65, 67, 65, 62, 59]


def song():
    conductor = (b"\x00\xFF\x58\x04\x04\x02\x60\x08\x00\xFF\x59\x02\x00\x00"
                 b"\x00\xFF\x51\x03\x07\xA1\x20\x00\xFF\x2F\x00")
    melody = b""
    notes = [TUNE[i % len(TUNE)] for i in range(4 * MEASURES - 1)] + [60]
    for i, note in enumerate(notes):
        melody += (b"\x00" if i == 0 else time_compose.vlq(24)) + bytes([0x90, note, 90])
        melody += time_compose.vlq(360) + bytes([0x80, note, 0])
    melody += b"\x00\xFF\x2F\x00"
    header = b"MThd\x00\x00\x00\x06\x00\x01\x00\x02\x01\x80"
    return (header + b"MTrk" + len(conductor).to_bytes(4, "big") + conductor +
            b"MTrk" + len(melody).to_bytes(4, "big") + melody)


def proposed_modes(style_file):
    """Per part the sustain digit and the play mode of the style's own records, as the style
    panel proposes them."""
    data = open(style_file, "rb").read()
    modes = []
    pos = 0
    while pos + 5 <= len(data) and len(modes) < 5:
        if data[pos:pos + 5] == b"Mtrk,":
            fields = data[pos:data.index(b"\n", pos)].split(b",")
            code = int(fields[11])
            modes.append(code // 100 % 2 * 10 + code % 10)
            pos += 768
            continue
        m = data[pos:pos + 5].find(b"M")
        pos += 5 if m < 0 else max(m, 1)
    return modes + [0] * (5 - len(modes))


def step(runworker, folder, args, counts=None):
    """Runs one worker; with `counts` under callgrind, adding its instruction count there."""
    if counts is not None:
        out_file = os.path.join(folder, "callgrind.out")
        if args[0] == "/bin/sh":
            args = args[:2] + [args[2].replace("exec ", "exec valgrind --tool=callgrind "
                                               "--callgrind-out-file=%s " % out_file)]
        else:
            args = ["/usr/bin/valgrind", "--tool=callgrind",
                    "--callgrind-out-file=" + out_file] + args
    start = time.perf_counter()
    result = subprocess.run([runworker, "--timeout=120", folder] + args, capture_output=True,
                            text=True, check=True)
    out = result.stdout
    elapsed = (time.perf_counter() - start) * 1000.0
    if counts is not None:
        counts.append(int([line for line in result.stderr.splitlines()
                           if "Collected :" in line][0].split(":")[-1]))
    completion = [line.split()[1:] for line in out.splitlines() if line.startswith("completion:")]
    if not completion or completion[0][0] == "none" or completion[0][2] != "0x00000000":
        raise SystemExit("%s failed: %s" % (os.path.basename(args[0]), out.strip()))
    return int(completion[0][1]), elapsed


def chain_once(bin_dir, runworker, decodeout, folder, counts=None):
    """One run of the chain; the time of each step in ms (with `counts`, the workers run under
    callgrind and their instruction counts go there)."""
    names = [s + ".sty" for s in STYLES]
    with open(os.path.join(folder, "InPut.bin"), "wb") as f:
        f.write(song())
    counted = (lambda name: counts.setdefault(name, [])) if counts is not None else lambda _: None
    times = {}
    begin = time.perf_counter()
    _, times["Ambrel"] = step(runworker, folder,
                              [os.path.join(bin_dir, "Ambrel"), "/2", "InPut.bin", "{hwnd}", "2426"],
                              counted("Ambrel"))
    _, times["Sorvik"] = step(runworker, folder, [
        "/bin/sh", "-c",
        "exec %s {hwnd} 2426 $(( {hwnd} + 31470952 + 2426 )) 1" % os.path.join(bin_dir, "Sorvik")],
        counted("Sorvik"))
    chord_key, times["Tressil"] = step(
        runworker, folder, [os.path.join(bin_dir, "Tressil"), "3", "{hwnd}", "2426", "6"],
        counted("Tressil"))
    code, times["Compose"] = step(
        runworker, folder, [os.path.join(bin_dir, "Compose"), "4", "3", "3", "1"] + names +
        ["49", "89", str(chord_key), "{hwnd}", "1", "0", "0", "1", "2426"], counted("Compose"))
    start = time.perf_counter()
    subprocess.run([decodeout, os.path.join(folder, "ComposeOut.bin"), str(code + 1),
                    os.path.join(folder, "song.mid")], check=True)
    times["decodeout"] = (time.perf_counter() - start) * 1000.0
    times["whole"] = (time.perf_counter() - begin) * 1000.0
    return times


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 15
    bin_dir = os.path.join(build, "bin")
    runworker = os.path.join(build, "devtools", "runworker")
    decodeout = os.path.join(build, "devtools", "decodeout")
    runs_times = []
    counts = {}
    with tempfile.TemporaryDirectory() as folder:
        for style in STYLES:
            shutil.copy(os.path.join(bin_dir, style + ".sty"), folder)
        with open(os.path.join(folder, "vPara.dat"), "wb") as f:
            for style in STYLES:
                values = [80] + [0] * 10 + proposed_modes(os.path.join(folder, style + ".sty"))
                f.write((",".join("%03d" % v for v in values) + "\r\n").encode())
        for _ in range(runs):
            runs_times.append(chain_once(bin_dir, runworker, decodeout, folder))
        if shutil.which("valgrind") is not None:
            chain_once(bin_dir, runworker, decodeout, folder, counts)
    print("Whole chain, 259 measures: median %.1f ms over %d runs" %
          (statistics.median(t["whole"] for t in runs_times), runs))
    for name in ("Ambrel", "Sorvik", "Tressil", "Compose", "decodeout"):
        print("  %-9s median %.1f ms" % (name, statistics.median(t[name] for t in runs_times)))
    for name, count in counts.items():
        print("  %-9s %d instructions" % (name, count[0]))


if __name__ == "__main__":
    main()
