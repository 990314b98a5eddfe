#!/usr/bin/env python3
"""Times the audio converter on five minutes of 48 kHz 24-bit stereo and measures its memory.

The source (a chord of tones with a little noise at about -6 dBFS, the same second repeated) is
made once in the work folder. Each run converts it into a 44.1 kHz 16-bit wave through the core,
as brenvik-cli will, by the driver program bench/convert_driver.cpp (built with the project as
build/bench/convert_driver), under GNU time (Debian package `time`), the output removed and `sync`
run before every run. It prints the median and the spread of the wall time and of the CPU time
(user + system), and the highest peak resident memory of all runs.

    bench/audio_convert_bench.py [--driver build/bench/convert_driver] [--runs 9]
                                 [--work bench/work] [--seconds 300]
                                 [--max-seconds 2.0] [--max-mib 32]

--max-seconds exits 1 when the median wall time is above the limit, --max-mib when the peak
memory is. The machine's other work makes single runs noisy: read the medians.
"""
import argparse
import math
import os
import random
import statistics
import struct
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
RATE = 48000


def make_source(path, seconds):
    """A 24-bit stereo wave of `seconds` identical seconds."""
    frames = RATE * seconds
    size = frames * 6
    if os.path.exists(path) and os.path.getsize(path) == 44 + size:
        return
    rng = random.Random(1)
    tones = [(220.0, 0.15), (277.2, 0.12), (329.6, 0.1), (3520.0, 0.05), (12000.0, 0.02)]
    second = bytearray()
    for n in range(RATE):
        for channel in range(2):
            value = sum(a * math.sin(2 * math.pi * f * n / RATE + channel) for f, a in tones)
            value += rng.uniform(-0.01, 0.01)
            second += struct.pack("<i", int(value * 8388607))[:3]
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", size + 36) + b"WAVEfmt " +
                struct.pack("<IHHIIHH", 16, 1, 2, RATE, RATE * 6, 6, 24) + b"data" + struct.pack("<I", size))
        for _ in range(seconds):
            f.write(second)


def timed_run(driver, source, target):
    """Wall seconds, CPU seconds and peak resident KiB of one conversion."""
    if os.path.exists(target):
        os.remove(target)
    os.sync()
    result = subprocess.run(["/usr/bin/time", "-f", "%e %U %S %M", driver, source, target],
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    lines = result.stderr.decode().strip().splitlines()
    if result.returncode != 0:
        sys.exit("conversion failed:\n" + "\n".join(lines))
    wall, user, system, kib = lines[-1].split()
    return float(wall), float(user) + float(system), int(kib)


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--driver", default=os.path.join(ROOT, "build", "bench", "convert_driver"))
    ap.add_argument("--runs", type=int, default=9)
    ap.add_argument("--work", default=os.path.join(HERE, "work"))
    ap.add_argument("--seconds", type=int, default=300)
    ap.add_argument("--max-seconds", type=float)
    ap.add_argument("--max-mib", type=float)
    args = ap.parse_args()
    if not os.access(args.driver, os.X_OK):
        sys.exit(f"no driver at {args.driver} (build the project, or give --driver PATH)")
    if not os.path.exists("/usr/bin/time"):
        sys.exit("GNU time is missing (Debian package time)")
    os.makedirs(args.work, exist_ok=True)
    source = os.path.join(args.work, f"convert_source_{args.seconds}s.wav")
    target = os.path.join(args.work, "converted.wav")
    make_source(source, args.seconds)

    timed_run(args.driver, source, target)  # warms the file cache
    runs = [timed_run(args.driver, source, target) for _ in range(args.runs)]
    os.remove(target)
    walls, cpus, peaks = zip(*runs)
    med = statistics.median
    print(f"{args.seconds} s of 48 kHz 24-bit stereo to 44.1 kHz 16-bit, {args.runs} runs:")
    print(f"  wall {med(walls):.3f} s median (min {min(walls):.3f}, max {max(walls):.3f})")
    print(f"  CPU  {med(cpus):.3f} s median (min {min(cpus):.3f}, max {max(cpus):.3f})")
    print(f"  peak memory {max(peaks) / 1024:.1f} MiB")
    failed = []
    if args.max_seconds is not None and med(walls) > args.max_seconds:
        failed.append(f"median wall time above {args.max_seconds} s")
    if args.max_mib is not None and max(peaks) / 1024 > args.max_mib:
        failed.append(f"peak memory above {args.max_mib} MiB")
    if failed:
        sys.exit("FAILED: " + "; ".join(failed))


if __name__ == "__main__":
    main()
