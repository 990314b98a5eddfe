#!/usr/bin/env python3
"""Times `brenvik-cli list`, `check`, `swap` and `undo` on a generated card of 999 loops, and the Card window.

The card is made in a temporary folder (or --work): brenvik-cli to-loop writes one small stereo
loop from a generated 2-second wave, and the script copies it to LOOP1 .. LOOP999. Each command
then runs --runs times with its output thrown away, after one untimed run that warms the file
cache (a card reader's first read depends on the reader, not on brenvik-cli). The script prints
the median and the slowest wall time of each command; --max-ms exits 1 when a median is above it.
`swap` trades the first and the last loop and `undo` trades them back (each a timed run of its
own, so every swap finds the card as the previous undo left it). Then, when --window names the
arranging benchmark's program, the Card window lists the card again, swaps two loops dropped on
each other and undoes that, each timed until the window shows the card again (offscreen).

    bench/card_list_bench.py [--cli build/cli/brenvik-cli] [--runs 9] [--loops 999]
                             [--work DIR] [--max-ms 200] [--window build/bench/arrange-bench]
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


def stereo_wave(path, seconds):
    frames = 44100 * seconds
    data = bytes((i * 7) & 0xFF for i in range(frames * 4))
    header = b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVEfmt " + struct.pack(
        "<IHHIIHH", 16, 1, 2, 44100, 176400, 4, 16) + b"data" + struct.pack("<I", len(data))
    with open(path, "wb") as f:
        f.write(header + data)


def make_card(cli, work, loops):
    card = os.path.join(work, "card")
    shutil.rmtree(card, ignore_errors=True)
    os.makedirs(card)
    source = os.path.join(work, "source.wav")
    stereo_wave(source, 2)
    subprocess.run([cli, "to-loop", source, "--dest", card, "--loop", "1"], check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    for n in range(2, loops + 1):
        shutil.copytree(os.path.join(card, "LOOP1"), os.path.join(card, "LOOP%d" % n))
    return card


def timed(command, runs, env):
    subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env)  # warm the cache
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env)
        times.append((time.perf_counter() - start) * 1000)
    return statistics.median(times), max(times)


def timed_pair(first, second, runs, env):
    """Median and slowest of `first` and of `second`, run one after the other `runs` times."""
    times = ([], [])
    for _ in range(runs):
        for command, kept in ((first, times[0]), (second, times[1])):
            start = time.perf_counter()
            subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env, check=True)
            kept.append((time.perf_counter() - start) * 1000)
    return [(statistics.median(t), max(t)) for t in times]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", default="build/cli/brenvik-cli")
    parser.add_argument("--runs", type=int, default=9)
    parser.add_argument("--loops", type=int, default=999)
    parser.add_argument("--work")
    parser.add_argument("--max-ms", type=float)
    parser.add_argument("--window", help="the arranging benchmark's program (build/bench/arrange-bench)")
    args = parser.parse_args()
    cli = os.path.abspath(args.cli)
    work = args.work or tempfile.mkdtemp(prefix="brenvik-card-")
    os.makedirs(work, exist_ok=True)
    card = make_card(cli, work, args.loops)
    print("card of %d loops in %s" % (args.loops, card))
    too_slow = []
    # The backup store, the loop library and the record of the last arrangement in the scratch folder.
    env = dict(os.environ, XDG_DATA_HOME=os.path.join(work, "data"), QT_QPA_PLATFORM="offscreen")
    for name, command in (("list", [cli, "list", card]), ("list --json", [cli, "list", card, "--json"]),
                          ("check", [cli, "check", card])):
        median, slowest = timed(command, args.runs, env)
        print("%-12s median %7.1f ms   slowest %7.1f ms   (%d runs)" % (name, median, slowest, args.runs))
        if args.max_ms is not None and median > args.max_ms:
            too_slow.append(name)
    swaps = timed_pair([cli, "swap", card, "1", str(args.loops)], [cli, "undo", card], args.runs, env)
    for name, (median, slowest) in zip(("swap", "undo"), swaps):
        print("%-12s median %7.1f ms   slowest %7.1f ms   (%d runs)" % (name, median, slowest, args.runs))
        if args.max_ms is not None and median > args.max_ms:
            too_slow.append(name)
    if args.window:
        subprocess.run([os.path.abspath(args.window), card, str(args.runs)], env=env, check=True)
    if not args.work:
        shutil.rmtree(work)
    if too_slow:
        print("above %.0f ms: %s" % (args.max_ms, ", ".join(too_slow)))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
