#!/usr/bin/env python3
"""Times Compose as a whole process on a 259-measure 4/4 song with two chords per measure and
five different styles switching every 50 measures, and counts the instructions one run takes
(under valgrind's callgrind, when it is installed), which the load of the machine does not
disturb. Prints the median time and the instruction count.

Usage: time_compose.py [build folder] [runs]
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

MEASURES = 259
SWITCH_EVERY = 50
STYLE_KEY_BELOW_20 = 0x2B  # formats/style_keys.h, versions below 20
LINES = 48                 # 4/4 at 12 steps per quarter (style version 12)
CHORDS = ["C....", "A.m..", "F....", "G..7.", "E.m..", "D.m7.", "G....", "C...."]


def coded_block(channel_line, text, key):
    out = bytearray(channel_line.encode() + b"\r\n")
    t = 1
    for c in text.encode():
        out.append((c + key + t + 1) & 0xFF)
        t = (t + 1) & 0xFF
    return bytes(out + b"\r\n")


def modes(rows, count=16):
    text = ""
    for k in range(count):
        if k > 0:
            text += "\r\n%d,%d,\r\n" % (k, 2)
        for r in range(LINES):
            text += rows.get(r, "0") + ",\r\n"
    return text + "Eoi"


def style(variant):
    beat = LINES // 4
    chord_rows = {0: "6,10,13", beat - 1: "-6,-10,-13", 2 * beat: "6,10,13", 3 * beat - 1: "-6,-10,-13"}
    if variant % 2:
        chord_rows = {r * 6: "6,10" for r in range(0, 8, 2)}
        chord_rows.update({r * 6 + 5: "-6,-10" for r in range(0, 8, 2)})
    bass_rows = {0: "6", beat - 1: "-6", 2 * beat: "1", 3 * beat - 1: "-1"}
    drum_rows = {}
    for b in range(4):
        drum_rows[b * beat] = "36" if b % 2 == 0 else "38"
        drum_rows[b * beat + 1] = "-36" if b % 2 == 0 else "-38"
        if variant >= 2:
            drum_rows[b * beat + beat // 2] = "42"
            drum_rows[b * beat + beat // 2 + 1] = "-42"
    out = b""
    out += coded_block('Mtrk,1,0,%d,100,64,40,%d,100,64,40,0,"Bench: 4/4 Style %d"' % (variant, variant, variant),
                       modes(chord_rows), STYLE_KEY_BELOW_20)
    out += coded_block('Mtrk,2,-12,32,100,64,40,33,100,64,40,0,"Bass"', modes(bass_rows), STYLE_KEY_BELOW_20)
    out += coded_block('Mtrk,3,0,48,90,64,40,48,90,64,40,0,"Pad"', modes({0: "10,13", LINES - 1: "-10,-13"}),
                       STYLE_KEY_BELOW_20)
    out += coded_block('Mtrk,4,0,24,90,64,40,24,90,64,40,0,"Arp"',
                       modes({0: "6", 2: "-6", 24: "10", 26: "-10"}), STYLE_KEY_BELOW_20)
    out += coded_block('Mtrk,9,0,0,100,64,40,0,100,64,40,0,"Drums"', modes(drum_rows), STYLE_KEY_BELOW_20)
    return out


def vlq(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.insert(0, (value & 0x7F) | 0x80)
        value >>= 7
    return bytes(out)


def song():
    conductor = b"\x00\xFF\x58\x04\x04\x02\x60\x08\x00\xFF\x59\x02\x00\x00\x00\xFF\x51\x03\x07\xA1\x20\x00\xFF\x2F\x00"
    melody = b""
    for m in range(MEASURES):
        melody += (b"\x00" if m == 0 else vlq(1536 - 768)) + bytes([0x90, 60 + (m % 5), 90])
        melody += vlq(768) + bytes([0x80, 60 + (m % 5), 0])
    melody += b"\x00\xFF\x2F\x00"
    header = b"MThd\x00\x00\x00\x06\x00\x01\x00\x02\x01\x80"
    return (header + b"MTrk" + len(conductor).to_bytes(4, "big") + conductor +
            b"MTrk" + len(melody).to_bytes(4, "big") + melody)


def write_inputs(folder):
    key = 53
    plain = ""
    notes = ""
    stats = ""
    for m in range(MEASURES):
        code = 4 if m == 0 else 8 if m == MEASURES - 1 else 7 if m % 8 == 7 else (0 if (m // 2) % 2 == 0 else 5)
        chord1 = CHORDS[(2 * m) % 8]
        chord2 = CHORDS[(2 * m + 1) % 8]
        if m == MEASURES - 1:
            chord1 = chord2 = "C...."
        slot = m // SWITCH_EVERY + 1 if m % SWITCH_EVERY == 0 else 0
        plain += "%03d:%d:%s:2:%s:%d:%d:%-10s;" % (m, code, chord1, chord2, code, min(slot, 5), "")
        notes += "%03d;\r\n000;\r\n" % (60 + m % 5)
        stats += "%03d;00;000;00;001;090\r\n" % (60 + m % 5)
    coded = bytes(((ord(c) + key + 1 + 3 * (i + 1)) & 0xFF) for i, c in enumerate(plain))
    files = {
        "Data.aco": coded,
        "Notes.dat": notes.encode(),
        "Temps2.aco": stats.encode(),
        "BtData.dat": b"".join(b"1\r\n" if i % 6 == 0 else b"0\r\n" for i in range(48)),
        "InPut.bin": song(),
        "vPara.dat": b"080,000,000,000,000,000,000,000,000,000,000,000,002,003,001,001\r\n" * 5,
    }
    for i in range(5):
        files["Bnc%d12.sty" % i] = style(i)
    for name, data in files.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
    names = " ".join("Bnc%d12.sty" % i for i in range(5))
    return "4 5 6 1 %s 49 89 %d 12345 0 0 0 1 2426" % (names, key)


def median_ms(command, cwd, runs):
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        # A hung run is killed after the front end's ten seconds and fails the measurement.
        result = subprocess.run(command, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                timeout=10)
        times.append((time.perf_counter() - start) * 1000.0)
        if result.returncode != 0:
            raise SystemExit("%s failed with %d" % (command[0], result.returncode))
    return statistics.median(times)


def instructions(command, cwd):
    """The instructions one run executes, or None without valgrind."""
    if shutil.which("valgrind") is None:
        return None
    out = os.path.join(cwd, "callgrind.out")
    result = subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=" + out] + command,
                            cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    if result.returncode != 0:
        raise SystemExit("%s failed under valgrind" % command[0])
    for line in result.stderr.splitlines():
        if "Collected :" in line:
            return int(line.split(":")[-1].strip())
    return None


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 21
    compose = os.path.abspath(os.path.join(build, "bin", "Compose"))
    with tempfile.TemporaryDirectory() as folder:
        args = write_inputs(folder)
        compose_ms = median_ms([compose] + args.split(" "), folder, runs)
        counted = instructions([compose] + args.split(" "), folder)
    print("Compose, 259 measures, 5 styles: median %.1f ms over %d runs" % (compose_ms, runs))
    if counted is not None:
        print("Compose, 259 measures, 5 styles: %d instructions" % counted)


if __name__ == "__main__":
    main()
