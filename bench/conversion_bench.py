#!/usr/bin/env python3
"""Times brenvik-cli's conversions against the raw split/merge floor, pair by pair in one run.

The floor (raw_split_merge.c) does the same reads and writes with no format logic at all. For
every job the script runs the floor and brenvik-cli alternately on the same cached input, takes
the median of the per-pair time ratios, and the peak resident memory of each brenvik-cli run.

    bench/conversion_bench.py [--cli build/cli/brenvik-cli] [--floor-src ../shared/bench/raw_split_merge.c]
                              [--pairs 11] [--work bench/work] [--sizes 40,32,16]

Sizes: megabytes of the stereo source and of the mono source turned into loops, and mebibytes
of each track turned back into a wave. They default to about the largest a loop can hold:
loopinfo.ldf marks at most 2592 clusters of loop sectors (about 42 MB of source data) and a
16-bit end sector (about 33.5 MB of mono audio), and the track opener reads the end sector as a
signed 16-bit number (at most 16 MiB per track).
"""
import argparse
import os
import shutil
import statistics
import struct
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)


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
    """Runs a command; returns its wall-clock seconds."""
    start = time.perf_counter()
    proc = subprocess.run(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    seconds = time.perf_counter() - start
    if proc.returncode != 0:
        sys.exit(f"failed: {' '.join(cmd)}\n{proc.stderr.decode(errors='replace')}")
    return seconds


def peak_rss_kib(cmd):
    """Peak resident memory of one run, measured by GNU time (the forking Python's own pages
    would count in a rusage taken from here)."""
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


def bench_pair(name, floor_cmd, floor_out, cli_cmd, cli_out, pairs):
    ratios, floor_times, cli_times = [], [], []
    for i in range(pairs + 1):  # the first pair warms the cache and is not counted
        clean(*floor_out)
        f = run(floor_cmd)
        clean(*cli_out)
        c = run(cli_cmd)
        if i == 0:
            continue
        floor_times.append(f)
        cli_times.append(c)
        ratios.append(c / f)
    clean(*cli_out)
    peak = peak_rss_kib(cli_cmd)
    print(f"{name:34s} floor {statistics.median(floor_times)*1000:8.1f} ms   "
          f"brenvik {statistics.median(cli_times)*1000:8.1f} ms   "
          f"median ratio {statistics.median(ratios):5.2f}   peak RSS {peak/1024:6.1f} MiB")
    return statistics.median(ratios), peak


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--cli", default=os.path.join(ROOT, "build", "cli", "brenvik-cli"))
    ap.add_argument("--floor-src", default=os.path.join(ROOT, "..", "shared", "bench", "raw_split_merge.c"))
    ap.add_argument("--pairs", type=int, default=11)
    ap.add_argument("--work", default=os.path.join(HERE, "work"))
    ap.add_argument("--sizes", default="40,32,16")
    args = ap.parse_args()
    loop_mb, mono_mb, track_mb = (int(x) for x in args.sizes.split(","))

    os.makedirs(args.work, exist_ok=True)
    floor = os.path.join(args.work, "raw_split_merge")
    subprocess.check_call(["cc", "-O2", "-o", floor, args.floor_src])
    w = lambda *p: os.path.join(args.work, *p)

    mb = 1000 * 1000
    stereo, mono = w("stereo.wav"), w("mono.wav")
    make_wave(stereo, 2, loop_mb * mb // 4 * 4)
    make_wave(mono, 1, mono_mb * mb // 2 * 2)
    # Tracks to turn back into waves: a loop of the right size made by brenvik-cli itself.
    track_src_stereo, track_src_mono = w("tracks_stereo.wav"), w("tracks_mono.wav")
    make_wave(track_src_stereo, 2, track_mb * 1048576 * 2)
    make_wave(track_src_mono, 1, track_mb * 1048576)
    for src, loop in ((track_src_stereo, "LOOP1"), (track_src_mono, "LOOP2")):
        clean(w("cards", "tracks", loop))
        os.makedirs(w("cards", "tracks"), exist_ok=True)
        run([args.cli, "to-loop", src, "--dest", w("cards", "tracks"), "--loop", loop[4:]])
    t1, t2 = w("cards", "tracks", "LOOP1", "track1.wav"), w("cards", "tracks", "LOOP1", "track2.wav")
    m1 = w("cards", "tracks", "LOOP2", "track1.wav")
    os.makedirs(w("cards", "out"), exist_ok=True)

    print(f"sources: stereo {loop_mb} MB, mono {mono_mb} MB; tracks {track_mb} MiB each; "
          f"{args.pairs} timed pairs per job")
    results = [
        bench_pair(f"to-loop stereo {loop_mb} MB (split)",
                   [floor, "split", stereo, w("L.wav"), w("R.wav")], [w("L.wav"), w("R.wav")],
                   [args.cli, "to-loop", stereo, "--dest", w("cards", "out"), "--loop", "1"],
                   [w("cards", "out", "LOOP1")], args.pairs),
        bench_pair(f"to-loop mono {mono_mb} MB (mono2loop)",
                   [floor, "mono2loop", mono, w("M.wav")], [w("M.wav")],
                   [args.cli, "to-loop", mono, "--dest", w("cards", "out"), "--loop", "2"],
                   [w("cards", "out", "LOOP2")], args.pairs),
        bench_pair(f"to-wave stereo 2x{track_mb} MiB (merge)",
                   [floor, "merge", t1, t2, w("S.wav")], [w("S.wav")],
                   [args.cli, "to-wave", t1, t2, "--output", w("S2.wav")], [w("S2.wav")], args.pairs),
        bench_pair(f"to-wave mono {track_mb} MiB (loop2mono)",
                   [floor, "loop2mono", m1, w("O.wav")], [w("O.wav")],
                   [args.cli, "to-wave", m1, "--output", w("O2.wav")], [w("O2.wav")], args.pairs),
    ]
    worst = max(r for r, _ in results)
    peak = max(p for _, p in results)
    print(f"worst median ratio {worst:.2f} (target 1.25), largest peak RSS {peak/1024:.1f} MiB (target 16)")


if __name__ == "__main__":
    main()
