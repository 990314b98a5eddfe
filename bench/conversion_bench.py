#!/usr/bin/env python3
"""Times brenvik-cli's conversions against a floor program, pair by pair in one run.

The floor, bench/raw_floor.c, does the same reads and writes as each conversion with 1 MiB
buffers and no format logic; the script builds it (cc -O2) into its work folder. For each job it
runs the floor and brenvik-cli alternately on the same cached input, the outputs removed and
`sync` run before every run, and reports per job:

  - the median of the per-pair wall-time ratios (brenvik-cli / floor),
  - the median wall time of each side,
  - the median CPU time (user + system, from the child's own rusage) of each side, and
  - brenvik-cli's peak resident memory, from one more run under GNU time (`/usr/bin/time -f %M`,
    Debian package `time`; a rusage taken from here would count the forking Python's pages).

A save into a loop folder is journaled on the card and, unless `--no-verify` is given, every
written file is then read back from the device. The to-loop jobs time brenvik-cli with
`--no-verify` (the journaled save alone: the ratio, the CPU ratio and both limits are about this
run) and, in the same round, once more without it; the verified run's median wall time and its
median ratio against the floor are a column of their own ("verified"), beside the median of what
the read-back added in each round. The to-wave jobs write no loop and have no such column.

Once per job, before the timed pairs, it checks with cmp that the floor's audio files and
brenvik-cli's (both runs of a to-loop job) are identical (the floor's loopinfo.ldf is 16384 zero bytes, written and synced for the
same work, and not compared) and says so.

    bench/conversion_bench.py [--cli build/cli/brenvik-cli] [--pairs 15] [--work bench/work]
                              [--sizes 40,32,16] [--max-ratio 1.10] [--cpu-ratio 1.5]

Jobs: to-loop stereo (split), to-loop mono (mono2loop), to-wave stereo from two tracks (merge)
and to-wave mono from one track (loop2mono). --max-ratio exits 1 when any job's median wall-time
ratio is above the limit, --cpu-ratio when any job's median CPU-time ratio is; both name the jobs
and, for to-loop, judge the save with --no-verify (the verified column is shown, never judged).

Sizes: megabytes of the stereo source and of the mono source turned into loops, and mebibytes
of each track turned back into a wave; each is cut to whole 512-byte sectors, so brenvik-cli
carries every source byte over. The defaults are about the largest a loop can hold:
loopinfo.ldf marks at most 2592 clusters of loop sectors (about 42 MB of source data) and a
16-bit end sector (about 33.5 MB of mono audio), and the track opener reads the end sector as a
signed 16-bit number (at most 16 MiB per track). The tracks turned back into waves are made by
brenvik-cli itself from generated waves.
"""
import argparse
import os
import shutil
import statistics
import struct
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
SECTOR = 512


def wave_header(channels, data_size):
    block = 2 * channels
    return (b"RIFF" + struct.pack("<I", data_size + 36) + b"WAVEfmt " +
            struct.pack("<IHHIIHH", 16, 1, channels, 44100, 44100 * block, block, 16) +
            b"data" + struct.pack("<I", data_size))


def make_wave(path, channels, data_size):
    if os.path.exists(path) and os.path.getsize(path) == 44 + data_size:
        return
    with open(path, "wb") as f:
        f.write(wave_header(channels, data_size))
        left = data_size
        seed = os.urandom(1 << 20)
        while left:
            n = min(left, len(seed))
            f.write(seed[:n])
            left -= n


def run(cmd):
    """Runs a command; returns (wall seconds, CPU seconds of the child: user + system)."""
    with tempfile.TemporaryFile() as err:
        start = time.perf_counter()
        proc = subprocess.Popen(cmd, stdout=subprocess.DEVNULL, stderr=err)
        _, status, usage = os.wait4(proc.pid, 0)
        seconds = time.perf_counter() - start
        proc.returncode = os.waitstatus_to_exitcode(status)
        if proc.returncode != 0:
            err.seek(0)
            sys.exit(f"failed: {' '.join(cmd)}\n{err.read().decode(errors='replace')}")
    return seconds, usage.ru_utime + usage.ru_stime


def peak_rss_kib(cmd):
    """Peak resident memory of one run, measured by GNU time."""
    if not os.path.exists("/usr/bin/time"):
        return float("nan")
    out = subprocess.run(["/usr/bin/time", "-f", "%M"] + cmd, stdout=subprocess.DEVNULL,
                         stderr=subprocess.PIPE, check=True).stderr.decode().strip().splitlines()
    return int(out[-1])


def clean(*paths):
    for p in paths:
        if os.path.isdir(p):
            shutil.rmtree(p)
        elif os.path.exists(p):
            os.remove(p)


def fresh_run(cmd, outputs):
    clean(*outputs)
    os.sync()
    return run(cmd)


def same_bytes(a, b):
    return subprocess.run(["cmp", "-s", a, b]).returncode == 0


class Job:
    """One conversion: the floor's command, brenvik-cli's, and for a save into a loop folder
    brenvik-cli's once more with the read-back from the device (`verify_cmd`, same outputs)."""

    def __init__(self, name, floor_cmd, floor_out, cli_cmd, cli_out, compare, verify_cmd=None):
        self.name, self.compare = name, compare
        self.floor_cmd, self.floor_out = floor_cmd, floor_out
        self.cli_cmd, self.cli_out = cli_cmd, cli_out
        self.verify_cmd = verify_cmd

    def check_outputs(self):
        """Runs every side once (which also warms the cache); True when every audio output
        pair is identical."""
        fresh_run(self.floor_cmd, self.floor_out)
        runs = [("", self.cli_cmd)] + ([(" (verified)", self.verify_cmd)] if self.verify_cmd else [])
        alike = True
        for label, cmd in runs:
            fresh_run(cmd, self.cli_out)
            differ = [f"{a} vs {b}" for a, b in self.compare if not same_bytes(a, b)]
            if differ:
                print(f"{self.name}{label}: outputs DIFFER: {', '.join(differ)}")
            else:
                print(f"{self.name}{label}: {len(self.compare)} audio output(s) identical to the "
                      f"floor's (cmp)")
            alike = alike and not differ
        return alike

    def measure(self, pairs):
        ratios, cpu_ratios, verify_ratios, read_back = [], [], [], []
        floor_wall, cli_wall, floor_cpu, cli_cpu, verify_wall = [], [], [], [], []
        for _ in range(pairs):
            fw, fc = fresh_run(self.floor_cmd, self.floor_out)
            cw, cc = fresh_run(self.cli_cmd, self.cli_out)
            floor_wall.append(fw)
            cli_wall.append(cw)
            floor_cpu.append(fc)
            cli_cpu.append(cc)
            ratios.append(cw / fw)
            cpu_ratios.append(cc / fc if fc > 0 else float("inf"))
            if self.verify_cmd:
                vw, _ = fresh_run(self.verify_cmd, self.cli_out)
                verify_wall.append(vw)
                verify_ratios.append(vw / fw)
                read_back.append(vw - cw)
        clean(*self.cli_out)
        os.sync()
        self.peak = peak_rss_kib(self.cli_cmd)
        clean(*self.floor_out, *self.cli_out)
        med = statistics.median
        self.ratio, self.cpu_ratio = med(ratios), med(cpu_ratios)
        self.floor_wall, self.cli_wall = med(floor_wall), med(cli_wall)
        self.floor_cpu, self.cli_cpu = med(floor_cpu), med(cli_cpu)
        if self.verify_cmd:
            self.verify_wall, self.verify_ratio = med(verify_wall), med(verify_ratios)
            self.read_back = med(read_back)

    def verified_columns(self):
        if not self.verify_cmd:
            return f"{'-':>9s} {'-':>6s} {'-':>9s}"
        return (f"{self.verify_wall*1000:9.1f} {self.verify_ratio:6.2f} "
                f"{self.read_back*1000:+9.1f}")


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--cli", default=os.path.join(ROOT, "build", "cli", "brenvik-cli"))
    ap.add_argument("--pairs", type=int, default=15, help="timed pairs per job (default 15)")
    ap.add_argument("--work", default=os.path.join(HERE, "work"))
    ap.add_argument("--sizes", default="40,32,16",
                    help="stereo MB, mono MB, track MiB (default 40,32,16)")
    ap.add_argument("--max-ratio", type=float, help="exit 1 if a job's median wall ratio is above")
    ap.add_argument("--cpu-ratio", type=float, help="exit 1 if a job's median CPU ratio is above")
    args = ap.parse_args()
    loop_mb, mono_mb, track_mb = (int(x) for x in args.sizes.split(","))
    if not os.access(args.cli, os.X_OK):
        sys.exit(f"no brenvik-cli at {args.cli} (build it, or give --cli PATH)")
    cli = os.path.abspath(args.cli)

    os.makedirs(args.work, exist_ok=True)
    floor = os.path.join(args.work, "raw_floor")
    subprocess.check_call(["cc", "-O2", "-o", floor, os.path.join(HERE, "raw_floor.c")])
    w = lambda *p: os.path.join(args.work, *p)

    mb, mib = 1000 * 1000, 1024 * 1024
    whole = lambda n: n // SECTOR * SECTOR
    stereo, mono = w("stereo.wav"), w("mono.wav")
    make_wave(stereo, 2, whole(loop_mb * mb))
    make_wave(mono, 1, whole(mono_mb * mb))
    # Tracks to turn back into waves: loops made by brenvik-cli itself.
    track_src_stereo, track_src_mono = w("tracks_stereo.wav"), w("tracks_mono.wav")
    make_wave(track_src_stereo, 2, whole(track_mb * mib) * 2)
    make_wave(track_src_mono, 1, whole(track_mb * mib))
    for src, loop in ((track_src_stereo, "LOOP1"), (track_src_mono, "LOOP2")):
        clean(w("cards", "tracks", loop))
        os.makedirs(w("cards", "tracks"), exist_ok=True)
        run([cli, "to-loop", src, "--dest", w("cards", "tracks"), "--loop", loop[4:]])
    t1, t2 = w("cards", "tracks", "LOOP1", "track1.wav"), w("cards", "tracks", "LOOP1", "track2.wav")
    m1 = w("cards", "tracks", "LOOP2", "track1.wav")
    out = w("cards", "out")
    os.makedirs(out, exist_ok=True)

    # The floor's loop outputs get a folder of their own: a folder holding loopinfo.ldf is a loop
    # to brenvik-cli, and a wave written into one would back that loop up first.
    fl = lambda name: w("floor_loop", name)
    os.makedirs(w("floor_loop"), exist_ok=True)
    jobs = [
        Job(f"to-loop stereo {loop_mb} MB (split)",
            [floor, "split", stereo, fl("L.wav"), fl("R.wav")],
            [fl("L.wav"), fl("R.wav"), fl("loopinfo.ldf")],
            [cli, "to-loop", stereo, "--dest", out, "--loop", "1", "--no-verify"],
            [os.path.join(out, "LOOP1")],
            [(fl("L.wav"), os.path.join(out, "LOOP1", "track1.wav")),
             (fl("R.wav"), os.path.join(out, "LOOP1", "track2.wav"))],
            [cli, "to-loop", stereo, "--dest", out, "--loop", "1"]),
        Job(f"to-loop mono {mono_mb} MB (mono2loop)",
            [floor, "mono2loop", mono, fl("M.wav")], [fl("M.wav"), fl("loopinfo.ldf")],
            [cli, "to-loop", mono, "--dest", out, "--loop", "2", "--no-verify"],
            [os.path.join(out, "LOOP2")],
            [(fl("M.wav"), os.path.join(out, "LOOP2", "track1.wav"))],
            [cli, "to-loop", mono, "--dest", out, "--loop", "2"]),
        Job(f"to-wave stereo 2x{track_mb} MiB (merge)",
            [floor, "merge", t1, t2, w("S.wav")], [w("S.wav")],
            [cli, "to-wave", t1, t2, "--output", w("S2.wav")], [w("S2.wav")],
            [(w("S.wav"), w("S2.wav"))]),
        Job(f"to-wave mono {track_mb} MiB (loop2mono)",
            [floor, "loop2mono", m1, w("O.wav")], [w("O.wav")],
            [cli, "to-wave", m1, "--output", w("O2.wav")], [w("O2.wav")],
            [(w("O.wav"), w("O2.wav"))]),
    ]

    print(f"sources: stereo {loop_mb} MB, mono {mono_mb} MB; tracks {track_mb} MiB each; "
          f"{args.pairs} timed pairs per job; load average {os.getloadavg()[0]:.2f} at start")
    identical = all([job.check_outputs() for job in jobs])
    print(f"{'job':34s} {'ratio':>6s} {'floor ms':>9s} {'brenvik ms':>10s} "
          f"{'floor CPU':>10s} {'brenvik CPU':>11s} {'CPU ratio':>9s} {'peak RSS':>9s} "
          f"{'verified':>9s} {'ratio':>6s} {'read-back':>9s}")
    for job in jobs:
        job.measure(args.pairs)
        print(f"{job.name:34s} {job.ratio:6.2f} {job.floor_wall*1000:9.1f} {job.cli_wall*1000:10.1f} "
              f"{job.floor_cpu*1000:8.1f}ms {job.cli_cpu*1000:9.1f}ms {job.cpu_ratio:9.2f} "
              f"{job.peak/1024:5.1f} MiB {job.verified_columns()}", flush=True)
    print("ratio, CPU ratio and peak RSS: the journaled save with --no-verify for to-loop; "
          "verified: the same save read back from the device (ms, ratio to the floor), "
          "read-back: the median of what that added in each round (ms)")
    load = os.getloadavg()[0]
    print(f"load average {load:.2f} at the end")
    if load > os.cpu_count():
        print(f"note: more runnable tasks than the {os.cpu_count()} cores: wall times include waits "
              f"for a core, so the wall ratios scatter more than the CPU ratios")

    failed = []
    if not identical:
        failed.append("outputs differ from the floor's (see above)")
    if args.max_ratio is not None:
        failed += [f"{j.name}: median ratio {j.ratio:.2f} above {args.max_ratio:.2f}"
                   for j in jobs if j.ratio > args.max_ratio]
    if args.cpu_ratio is not None:
        failed += [f"{j.name}: median CPU ratio {j.cpu_ratio:.2f} above {args.cpu_ratio:.2f}"
                   for j in jobs if j.cpu_ratio > args.cpu_ratio]
    for line in failed:
        print(f"FAIL {line}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
