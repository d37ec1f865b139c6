#!/usr/bin/env python3
"""Times each program of the chain against its floor: the trivial process `floor` (built with
the benchmarks, linked as the workers are) doing the same file reads and writes and nothing
else: every file the program reads, read whole; every file it writes, written with the bytes it
wrote, as often as it writes it (the composer's Temp.dat once per track), in the same order. The
ratio shows what the program's own work costs on top of starting a process and moving its files.
Runs are paired: the program and its floor take turns, and each figure is the median of the
times and of the pair-by-pair ratios. The program folders go where TMPDIR says (a file rewritten
on a journalling disk costs more than on a memory disk, for the program and its floor alike).

For the demo melody (16 measures) and the 259-measure song of bench/chain it prints:
- Ambrel, Sorvik, Tressil, Compose and decodeout, each against its floor (with the minor page
  faults of each, medians);
- the direct chain (the five programs one after the other) against the five floors;
- the chain as scripts/run.sh runs it headless, the workers started through runworker, against
  the direct chain.
The programs run as the front end starts them: in a program folder, with the completion handle of
a receiver this script holds (a completion that nobody receives costs less than one that arrives).

Usage: time_floor.py [build folder] [runs] [floor program]
(the floor program defaults to <build>/devtools/floor; give one to time an older build.)
"""
import importlib.util
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
VERSION = 2426
SORVIK_HANDSHAKE = 31470952
TRESSIL_SEED = "7"
PROGRAMS = ["Ambrel", "Sorvik", "Tressil", "Compose", "decodeout"]
COMPOSED_TRACKS = 10  # nine parts and the name track


def load(name, path):
    spec = importlib.util.spec_from_file_location(name, path)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


time_chain = load("time_chain", os.path.join(ROOT, "bench", "chain", "time_chain.py"))
# The completion receiver of the output comparison: the same datagram, the same folder.
compare_outputs = load("compare_outputs", os.path.join(ROOT, "scripts", "compare-outputs.py"))


def size(folder, name):
    return os.path.getsize(os.path.join(folder, name))


class Chain:
    """The chain on one song in a program folder: each program's command line, and the file
    operations of its floor (taken from a first run, so the floor writes what the program
    wrote)."""

    def __init__(self, build, song, work):
        self.build = build
        self.folder = tempfile.mkdtemp(dir=work)
        self.floor_folder = tempfile.mkdtemp(dir=work)
        self.receiver = compare_outputs.Receiver()
        self.env = dict(os.environ, TRESSIL_SEED=TRESSIL_SEED)
        with open(os.path.join(self.folder, "InPut.bin"), "wb") as f:
            f.write(song)
        bin_dir = os.path.join(build, "bin")
        names = [s + ".sty" for s in time_chain.STYLES]
        with open(os.path.join(self.folder, "vPara.dat"), "wb") as f:
            for style in time_chain.STYLES:
                shutil.copy(os.path.join(bin_dir, style + ".sty"), self.folder)
                values = [80] + [0] * 10 + time_chain.proposed_modes(
                    os.path.join(self.folder, style + ".sty"))
                f.write((",".join("%03d" % v for v in values) + "\r\n").encode())
        h = self.receiver.handle
        self.commands = {
            "Ambrel": [os.path.join(bin_dir, "Ambrel"), "/2", "InPut.bin", str(h), str(VERSION)],
            "Sorvik": [os.path.join(bin_dir, "Sorvik"), str(h), str(VERSION),
                       str(h + SORVIK_HANDSHAKE + VERSION), "1"],
            "Tressil": [os.path.join(bin_dir, "Tressil"), "3", str(h), str(VERSION), "0"],
        }
        self.floors = {}
        f = self.folder
        self.run("Ambrel")
        self.floors["Ambrel"] = [
            "r:InPut.bin", "w:Error1.msg:%d" % size(f, "Error1.msg"),
            "w:Temps.aco:%d" % size(f, "Temps.aco"), "w:Temps2.aco:%d" % size(f, "Temps2.aco"),
            "w:Notes.dat:%d" % size(f, "Notes.dat"), "r:Temps.aco",
            "w:Notes.aco:%d" % size(f, "Notes.aco"), "w:BtData.dat:%d" % size(f, "BtData.dat")]
        self.run("Sorvik")
        self.floors["Sorvik"] = [
            "w:kErr1.msg:%d" % size(f, "kErr1.msg"), "w:kInfo.aco:%d" % size(f, "kInfo.aco"),
            "r:InPut.bin", "w:KeyCode.dat:%d" % size(f, "KeyCode.dat"),
            "w:KeysData.Aco:%d" % size(f, "KeysData.Aco")]
        chord_key = self.run("Tressil")[1]
        self.floors["Tressil"] = [
            "w:Error2.msg:%d" % size(f, "Error2.msg"), "r:Temps2.aco", "r:Notes.aco",
            "r:Notes.dat", "w:MsInfo.dat:%d" % size(f, "MsInfo.dat"), "r:KeysData.Aco",
            "w:Error1.msg:%d" % size(f, "Error1.msg"), "a:Data.aco:%d" % size(f, "Data.aco")]
        self.commands["Compose"] = [os.path.join(bin_dir, "Compose"), "1", "3", "3", "1"] + \
            names + ["49", "89", str(chord_key), str(h), "1", "0", "0", "1", str(VERSION)]
        self.run("Compose")
        self.floors["Compose"] = (
            ["w:Error3.msg:%d" % size(f, "Error3.msg")] +
            ["r:" + n for n in ("vPara.dat", "InPut.bin", "BtData.dat", "Data.aco", "Notes.dat",
                                "Temps2.aco")] +
            ["w:Error2.msg:%d" % size(f, "Error2.msg"),
             "w:ComposeOut.bin:%d" % size(f, "ComposeOut.bin"), "w:sty.err:0"] +
            ["r:" + n for n in names] +
            # The composer writes each of its ten tracks into Temp.dat in turn.
            ["w:Temp.dat:%d" % size(f, "Temp.dat")] * COMPOSED_TRACKS +
            ["w:cPara.dat:%d" % size(f, "cPara.dat"), "w:sty.err:%d" % size(f, "sty.err")])
        # For reference: the same with Temp.dat written once, as if the tracks cost no rewrite.
        once = self.floors["Compose"]
        self.floors["Compose, Temp.dat once"] = [
            op for i, op in enumerate(once) if not op.startswith("w:Temp.dat:") or
            not once[i + 1].startswith("w:Temp.dat:")]
        self.run("decodeout")
        self.floors["decodeout"] = ["r:ComposeOut.bin", "a:song.mid:%d" % size(f, "song.mid")]
        self.measures = int(open(os.path.join(f, "Notes.aco"), "rb").read().split(b",")[3])
        for name in os.listdir(f):
            shutil.copy(os.path.join(f, name), self.floor_folder)

    def decodeout_command(self):
        return [os.path.join(self.build, "devtools", "decodeout"), "ComposeOut.bin",
                str(self.run_code), "song.mid"]

    def run(self, program, runworker=None):
        """Runs one program of the chain; (wall seconds, completion code, minor faults)."""
        command = self.decodeout_command() if program == "decodeout" else self.commands[program]
        if runworker is not None and program != "decodeout":
            command = [runworker, self.folder] + [
                "{hwnd}" if word == str(self.receiver.handle) else word for word in command]
            if program == "Sorvik":
                command = [runworker, self.folder, "/bin/sh", "-c",
                           "exec %s {hwnd} %d $(( {hwnd} + %d + %d )) 1" % (
                               self.commands["Sorvik"][0], VERSION, SORVIK_HANDSHAKE, VERSION)]
        elapsed, status, faults = spawn(command, self.folder, self.env)
        code = None
        if runworker is not None and program != "decodeout":
            if status[0] != 0:
                raise SystemExit("runworker failed for %s" % program)
            report = status[1]
            completion = [l.split() for l in report.splitlines() if l.startswith("completion:")]
            if not completion or completion[0][1] == "none" or completion[0][3] != "0x00000000":
                raise SystemExit("%s failed through runworker: %s" % (program, report))
            code = int(completion[0][2])
        else:
            if status != 0:
                raise SystemExit("%s failed with %d" % (program, status))
            if program != "decodeout":
                got = self.receiver.receive()
                if got is None or got[2] != 0:
                    raise SystemExit("%s sent no success completion" % program)
                code = got[1]
        if program == "Compose":
            self.run_code = code + 1
        return elapsed, code, faults

    def run_floor(self, program, floor, variant=None):
        elapsed, status, faults = spawn([floor] + self.floors[variant or program],
                                        self.floor_folder, self.env)
        if status != 0:
            raise SystemExit("the floor of %s failed" % program)
        return elapsed, faults

    def close(self):
        self.receiver.close()


def spawn(command, folder, env):
    """Runs a command in `folder`, started the same light way whatever it is; (wall seconds,
    exit status, minor page faults), with runworker's report in place of the status."""
    output = tempfile.TemporaryFile()
    devnull = os.open(os.devnull, os.O_RDWR)
    old = os.getcwd()
    os.chdir(folder)
    try:
        start = time.perf_counter()
        pid = os.posix_spawn(command[0], command, env,
                             file_actions=[(os.POSIX_SPAWN_DUP2, output.fileno(), 1),
                                           (os.POSIX_SPAWN_DUP2, devnull, 2)])
        _, status, usage = os.wait4(pid, 0)
        elapsed = time.perf_counter() - start
    finally:
        os.chdir(old)
        os.close(devnull)
    code = os.waitstatus_to_exitcode(status)
    if os.path.basename(command[0]) == "runworker":
        output.seek(0)
        code = (code, output.read().decode())
    output.close()
    return elapsed, code, usage.ru_minflt


def paired(runs, a, b):
    """Runs a and b in turn; medians of a, b (ms) and of the ratios a/b."""
    times_a, times_b, ratios = [], [], []
    for _ in range(runs):
        ta, tb = a(), b()
        times_a.append(ta * 1000.0)
        times_b.append(tb * 1000.0)
        ratios.append(ta / tb)
    return statistics.median(times_a), statistics.median(times_b), statistics.median(ratios)


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 31
    floor = os.path.abspath(sys.argv[3] if len(sys.argv) > 3 else
                            os.path.join(build, "devtools", "floor"))
    runworker = os.path.join(build, "devtools", "runworker")
    work = tempfile.mkdtemp(prefix="orvella-floor-")
    try:
        demo = os.path.join(work, "demo.mid")
        subprocess.run([os.path.join(build, "devtools", "midihex"),
                        os.path.join(ROOT, "demo", "ode_to_joy.txt"), demo], check=True)
        songs = [open(demo, "rb").read(), time_chain.song()]
        for song in songs:
            chain = Chain(build, song, work)
            try:
                report(chain, runs, floor, runworker)
            finally:
                chain.close()
    finally:
        shutil.rmtree(work, ignore_errors=True)


def report(chain, runs, floor, runworker):
    print("== %d measures (medians of %d paired runs; ms)" % (chain.measures, runs))
    for program, variant in [(p, None) for p in PROGRAMS] + [("Compose", "Compose, Temp.dat once")]:
        faults = {"program": [], "floor": []}

        def worker():
            elapsed, _, minor = chain.run(program)
            faults["program"].append(minor)
            return elapsed

        def trivial():
            elapsed, minor = chain.run_floor(program, floor, variant)
            faults["floor"].append(minor)
            return elapsed

        a, b, ratio = paired(runs, worker, trivial)
        print("  %-9s %7.2f   floor %6.2f   ratio %.2f   minor faults %d (floor %d)%s" %
              (program, a, b, ratio, statistics.median(faults["program"]),
               statistics.median(faults["floor"]),
               "   (floor writing Temp.dat once)" if variant else ""))

    def direct():
        return sum(chain.run(program)[0] for program in PROGRAMS)

    def floors():
        return sum(chain.run_floor(program, floor)[0] for program in PROGRAMS)

    def through_runworker():
        return sum(chain.run(program, runworker)[0] for program in PROGRAMS)

    a, b, ratio = paired(runs, direct, floors)
    print("  direct chain %7.2f   five floors %6.2f   ratio %.2f" % (a, b, ratio))
    a, b, ratio = paired(runs, through_runworker, direct)
    print("  chain through runworker %7.2f   direct %6.2f   ratio %.2f" % (a, b, ratio))


if __name__ == "__main__":
    main()
