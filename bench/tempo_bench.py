#!/usr/bin/env python3
"""Measures how often the tempo found in a loop's audio is the tempo it was made at, and how long
finding it takes.

It makes grooves as 44.1 kHz 16-bit waves in the work folder, the same ones on every run (fixed
seeds): metronome clicks, and drum-like bursts of noise (a kick, a snare, hi-hats on the
eighths, straight or swung), at 70 to 180 BPM, one to eight bars of 4/4, mono and stereo, each
exactly its bars long as a loop is. The driver bench/tempo_driver.cpp (built with the project as
build/bench/tempo-driver) finds the tempo of each, as the windows and brenvik-cli's companion
find it. It prints one line a groove, how many were found within 2 % of their tempo, and the
time for a four-minute stereo groove (the median of --runs runs).

    bench/tempo_bench.py [--driver build/bench/tempo-driver] [--work bench/work/tempo] [--runs 5]
                         [--min-found 0.9] [--max-seconds 0.3]

It exits 1 when fewer than --min-found of the grooves are found, or the four-minute groove takes
longer than --max-seconds.
"""
import argparse
import array
import math
import os
import random
import statistics
import struct
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
RATE = 44100
TEMPOS = [70, 76, 84, 90, 96, 100, 105, 112, 120, 126, 132, 140, 150, 160, 170, 180]
STYLES = ["clicks", "drums", "swung drums"]
BARS = [1, 2, 4, 8]


def burst(kind, rng):
    """The samples of one hit, at full strength."""
    if kind == "click" or kind == "accent":
        freq, length = (1500.0, 0.025) if kind == "accent" else (1000.0, 0.02)
        n = int(RATE * length)
        return [math.sin(2 * math.pi * freq * i / RATE) * (1 - i / n) for i in range(n)]
    if kind == "kick":
        n = int(RATE * 0.18)
        out, phase = [], 0.0
        for i in range(n):
            t = i / RATE
            phase += 2 * math.pi * (50 + 90 * math.exp(-t * 30)) / RATE
            out.append(math.sin(phase) * math.exp(-t * 18) + rng.uniform(-0.2, 0.2) * math.exp(-t * 200))
        return out
    if kind == "snare":
        n = int(RATE * 0.14)
        return [(rng.uniform(-0.7, 0.7) + 0.4 * math.sin(2 * math.pi * 190 * i / RATE)) * math.exp(-i / RATE * 25)
                for i in range(n)]
    n = int(RATE * 0.04)  # a hi-hat: noise with its low end taken out
    out, last = [], 0.0
    for i in range(n):
        white = rng.uniform(-1, 1)
        out.append((white - last) * 0.5 * math.exp(-i / RATE * 90))
        last = white
    return out


def hits(style, beats, rng):
    """(beat position, kind, strength) of one bar of four beats."""
    if style == "clicks":
        return [(b, "accent" if b == 0 else "click", 0.7 if b == 0 else 0.5) for b in range(beats)]
    swing = 2 / 3 if style == "swung drums" else 1 / 2
    out = []
    for b in range(beats):
        out.append((b, "kick" if b % 2 == 0 else "snare", rng.uniform(0.6, 0.75)))
        out.append((b, "hat", rng.uniform(0.12, 0.2)))
        out.append((b + swing, "hat", rng.uniform(0.08, 0.15)))
    if rng.random() < 0.5:
        out.append((2 + swing, "kick", rng.uniform(0.4, 0.5)))  # a kick on the "and" of three
    return out


def render(style, bpm, bars, seed, wrap=None):
    """One channel of the groove: `bars` bars of 4/4 at `bpm`, exactly as long as they last."""
    rng = random.Random(seed)
    beat = 60.0 * RATE / bpm
    frames = round(4 * bars * beat)
    samples = [0.0] * frames
    for bar in range(bars):
        for position, kind, strength in hits(style, 4, rng):
            start = round((bar * 4 + position) * beat)
            for i, value in enumerate(burst(kind, rng)):
                samples[(start + i) % frames] += value * strength
    return samples


def write_wave(path, channels):
    frames = len(channels[0])
    data = array.array("h", (max(-32768, min(32767, int(c[i] * 32767))) for i in range(frames) for c in channels))
    if sys.byteorder != "little":
        data.byteswap()
    size = len(data) * 2
    n = len(channels)
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", size + 36) + b"WAVEfmt " +
                struct.pack("<IHHIIHH", 16, 1, n, RATE, RATE * 2 * n, 2 * n, 16) + b"data" + struct.pack("<I", size))
        data.tofile(f)


def grooves(work):
    """Makes the grooves (once): (path, tempo) each."""
    made = []
    for i, bpm in enumerate(TEMPOS):
        for j, style in enumerate(STYLES):
            bars = BARS[(i + j) % len(BARS)]
            stereo = (i + j) % 2 == 1
            name = f"{style.replace(' ', '-')}-{bpm}bpm-{bars}bars-{'stereo' if stereo else 'mono'}.wav"
            path = os.path.join(work, name)
            if not os.path.exists(path):
                left = render(style, bpm, bars, seed=1000 * i + j)
                channels = [left, [0.8 * v for v in left]] if stereo else [left]
                write_wave(path + ".part", channels)
                os.replace(path + ".part", path)
            made.append((path, bpm))
    return made


def long_groove(work):
    """Four minutes of stereo drums at 120 BPM (the same bar over and over)."""
    path = os.path.join(work, "drums-120bpm-4min-stereo.wav")
    if not os.path.exists(path):
        bar = render("drums", 120, 1, seed=7)
        left = bar * (240 * 120 // 60 // 4)
        write_wave(path + ".part", [left, [0.9 * v for v in left]])
        os.replace(path + ".part", path)
    return path


def run_driver(driver, paths):
    result = subprocess.run([driver] + paths, check=True, stdout=subprocess.PIPE, text=True)
    rows = {}
    for line in result.stdout.splitlines():
        path, bpm, beats, confidence, seconds = line.split("\t")
        rows[path] = (None if bpm == "none" else float(bpm), int(beats), float(confidence), float(seconds))
    return rows


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--driver", default=os.path.join(ROOT, "build", "bench", "tempo-driver"))
    parser.add_argument("--work", default=os.path.join(HERE, "work", "tempo"))
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--min-found", type=float, default=0.9)
    parser.add_argument("--max-seconds", type=float, default=0.3)
    args = parser.parse_args()
    os.makedirs(args.work, exist_ok=True)

    made = grooves(args.work)
    rows = run_driver(args.driver, [path for path, _ in made])
    found = 0
    for path, bpm in made:
        got, beats, confidence, _ = rows[path]
        ok = got is not None and abs(got - bpm) <= 0.02 * bpm
        found += ok
        shown = "none" if got is None else f"{got:6.1f} BPM ({beats} beats, confidence {confidence:.2f})"
        print(f"{'ok  ' if ok else 'MISS'} {os.path.basename(path):42} {shown}")
    share = found / len(made)
    print(f"tempo found within 2 %: {found} of {len(made)} ({100 * share:.0f} %)")

    long_path = long_groove(args.work)
    times = [run_driver(args.driver, [long_path])[long_path][3] for _ in range(args.runs)]
    median = statistics.median(times)
    print(f"four minutes of stereo: {median:.3f} s (median of {args.runs}, {min(times):.3f} to {max(times):.3f})")
    return 0 if share >= args.min_found and median <= args.max_seconds else 1


if __name__ == "__main__":
    sys.exit(main())
