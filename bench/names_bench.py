#!/usr/bin/env python3
"""Times `brenvik-cli list` on a card of 999 named loops against `list` without names, and the first
listing's hashing against the floor's read speed.

The card is made as bench/card_list_bench.py makes it, each copy then changed in its last sample so
that no two loops share their content. Every run has its own data folder (the loop library):
- "without names": `list` with a loop library that cannot be used (its folder is a plain file), so
  no loop is read for its hash: the listing as it was before loops had names;
- "first": `list` on an empty library: every loop is read and hashed, and the hashes kept;
- "second": `list` again, every loop named (`brenvik-cli name`), the hashes taken from the cache.
The floor is `raw_floor read` over every file the hashing reads (bench/raw_floor.c, built with
cc -O2), each file read whole in 1 MiB blocks. The hashing speed is the card's bytes over the time
the first listing spends beyond the listing without names. All runs read from a warm file cache.

    bench/names_bench.py [--cli build/cli/brenvik-cli] [--runs 9] [--loops 999] [--work DIR]
                         [--check]

--check exits 1 when the second listing is over 1.2 times the listing without names, or the
hashing below 80 % of the floor's read speed.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from card_list_bench import make_card  # noqa: E402


def make_distinct(card, loops):
    """Changes each copy's last sample of track 1, so that every loop has content of its own."""
    for n in range(2, loops + 1):
        with open(os.path.join(card, "LOOP%d" % n, "track1.wav"), "r+b") as track:
            track.seek(-2, os.SEEK_END)
            track.write(n.to_bytes(2, "little"))


def card_files(card):
    return sorted(os.path.join(folder, name) for folder, _, names in os.walk(card) for name in names)


def run_ms(command, env):
    start = time.perf_counter()
    subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env, check=True)
    return (time.perf_counter() - start) * 1000


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", default="build/cli/brenvik-cli")
    parser.add_argument("--runs", type=int, default=9)
    parser.add_argument("--loops", type=int, default=999)
    parser.add_argument("--work")
    parser.add_argument("--check", action="store_true")
    args = parser.parse_args()
    cli = os.path.abspath(args.cli)
    work = args.work or tempfile.mkdtemp(prefix="brenvik-names-")
    os.makedirs(work, exist_ok=True)
    here = os.path.dirname(os.path.abspath(__file__))
    floor = os.path.join(work, "raw_floor")
    subprocess.run(["cc", "-O2", "-o", floor, os.path.join(here, "raw_floor.c")], check=True)

    card = make_card(cli, work, args.loops)
    make_distinct(card, args.loops)
    files = card_files(card)
    size = sum(os.path.getsize(f) for f in files)
    print("card of %d loops, %.1f MB in %s" % (args.loops, size / 1e6, card))

    def data_env(name):
        return dict(os.environ, XDG_DATA_HOME=os.path.join(work, name))

    # A library that cannot be used: its folder is a plain file.
    os.makedirs(os.path.join(work, "nolibrary"), exist_ok=True)
    with open(os.path.join(work, "nolibrary", "Brenvik"), "w") as plain:
        plain.write("not a folder")
    list_card = [cli, "list", card]
    run_ms(list_card, data_env("nolibrary"))  # warms the file cache
    subprocess.run([floor, "read"] + files, stdout=subprocess.DEVNULL, check=True)

    floor_ms, without_ms, first_ms = [], [], []
    for run in range(args.runs):
        start = time.perf_counter()
        subprocess.run([floor, "read"] + files, stdout=subprocess.DEVNULL, check=True)
        floor_ms.append((time.perf_counter() - start) * 1000)
        without_ms.append(run_ms(list_card, data_env("nolibrary")))
        shutil.rmtree(os.path.join(work, "first"), ignore_errors=True)
        first_ms.append(run_ms(list_card, data_env("first")))

    named = data_env("named")
    run_ms(list_card, named)
    for n in range(1, args.loops + 1):
        subprocess.run([cli, "name", card, str(n), "Groove %d" % n], env=named, check=True,
                       stdout=subprocess.DEVNULL)
    second_ms = [run_ms(list_card, named) for _ in range(args.runs)]

    floor_median, without, first, second = (statistics.median(t) for t in
                                            (floor_ms, without_ms, first_ms, second_ms))
    floor_speed = size / floor_median / 1e3  # MB/s
    hashing_speed = size / max(first - without, 1e-3) / 1e3
    ratio = second / without
    print("floor read     median %8.1f ms   %8.0f MB/s" % (floor_median, floor_speed))
    print("list, no names median %8.1f ms" % without)
    print("list, first    median %8.1f ms   hashing %8.0f MB/s = %.0f %% of the floor" %
          (first, hashing_speed, 100 * hashing_speed / floor_speed))
    print("list, second   median %8.1f ms   %.2f x the listing without names" % (second, ratio))
    if not args.work:
        shutil.rmtree(work)
    if args.check and (ratio > 1.2 or hashing_speed < 0.8 * floor_speed):
        print("outside the bounds: second listing at most 1.2 x, hashing at least 80 % of the floor")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
