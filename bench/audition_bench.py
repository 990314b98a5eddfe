#!/usr/bin/env python3
"""Times listening and looking, after a build (nothing outside the clone is needed).

  - peaks: the waveform peaks of a 40 MB stereo wave (made in bench/work), warm cache, on one
    core (taskset -c 0), through build/bench/audition-bench; target <= 15 ms. The fastest run
    is printed too: with other builds on the cores it is the one that ran undisturbed. So are
    plain 1 MiB reads of the same bytes (the floor), and the peak resident memory for that wave
    and for one a tenth its size, which should match.
  - Play to first sound: a PulseAudio server of the benchmark's own in a temporary folder, with a
    null sink "ci" and its monitor remapped as "ci_capture"; audition-bench plays a loop and
    records the capture source; target <= 100 ms. The same for `brenvik-cli play` on a wave,
    from starting the program (which starts its companion brenvik-cli-media) to the first sound.

Each figure is the median of its runs, repeated --repeats times (other builds on the same cores
make single runs noisy); the medians of the repeats are printed, then their median.

    bench/audition_bench.py [--bench build/bench/audition-bench] [--runs 21] [--repeats 5]
                            [--size-mb 40] [--cli build/cli/brenvik-cli]
"""
import argparse
import os
import re
import statistics
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)


def make_wave(path, data_size):
    if os.path.exists(path) and os.path.getsize(path) == 44 + data_size:
        return
    header = (b"RIFF" + struct.pack("<I", data_size + 36) + b"WAVEfmt " +
              struct.pack("<IHHIIHH", 16, 1, 2, 44100, 176400, 4, 16) + b"data" +
              struct.pack("<I", data_size))
    block = os.urandom(1 << 20)
    with open(path, "wb") as f:
        f.write(header)
        left = data_size
        while left > 0:
            f.write(block[:min(left, len(block))])
            left -= len(block)


def median_of(output, label):
    m = re.search(label + r": median ([0-9.]+) ms", output)
    if not m:
        sys.exit("no figure in: " + output)
    return float(m.group(1))


def run(cmd, env=None):
    done = subprocess.run(cmd, env=env, capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit(" ".join(cmd) + " failed: " + done.stderr.strip())
    return done.stdout


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--bench", default=os.path.join(ROOT, "build", "bench", "audition-bench"))
    p.add_argument("--runs", type=int, default=21)
    p.add_argument("--repeats", type=int, default=5)
    p.add_argument("--size-mb", type=int, default=40)
    p.add_argument("--cli", default=os.path.join(ROOT, "build", "cli", "brenvik-cli"))
    a = p.parse_args()

    work = os.path.join(HERE, "work")
    os.makedirs(work, exist_ok=True)
    wave = os.path.join(work, "audition-stereo.wav")
    make_wave(wave, a.size_mb * 1000000 // 4 * 4)
    outputs = [run(["taskset", "-c", "0", a.bench, "peaks", wave, str(a.runs)]) for _ in range(a.repeats)]
    peaks = [median_of(out, "peaks") for out in outputs]
    fastest = [float(re.search(r"fastest ([0-9.]+) ms", out).group(1)) for out in outputs]
    print("peaks of a %d MB stereo wave (ms, median of %d runs each): %s; median %.2f ms, fastest %.2f ms" %
          (a.size_mb, a.runs, ", ".join("%.2f" % x for x in peaks), statistics.median(peaks), min(fastest)))
    floor = [median_of(out, "plain 1 MiB reads of the same bytes") for out in outputs]
    print("plain 1 MiB reads of the same bytes, the floor (ms): %s; median %.2f ms" %
          (", ".join("%.2f" % x for x in floor), statistics.median(floor)))
    # Memory stays flat: the same peak resident memory for a wave a tenth the size.
    small = os.path.join(work, "audition-stereo-small.wav")
    make_wave(small, a.size_mb * 100000 // 4 * 4)
    for path in (wave, small):
        out = run([a.bench, "peaks", path, "1"])
        print("%s: %s" % (os.path.basename(path), re.search(r"peak resident memory: .*", out).group(0)))

    with tempfile.TemporaryDirectory() as tmp:
        env = dict(os.environ)
        env.update(XDG_RUNTIME_DIR=os.path.join(tmp, "run"), HOME=os.path.join(tmp, "home"),
                   XDG_CONFIG_HOME=os.path.join(tmp, "home", ".config"),
                   PULSE_SERVER="unix:" + os.path.join(tmp, "run", "pulse", "native"))
        env.pop("PULSE_COOKIE", None)
        os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
        os.makedirs(env["HOME"])
        subprocess.run(["pulseaudio", "-n", "--daemonize=yes", "--exit-idle-time=-1",
                        "--load=module-native-protocol-unix",
                        "--load=module-null-sink sink_name=ci rate=44100 channels=2",
                        "--load=module-remap-source master=ci.monitor source_name=ci_capture"],
                       env=env, check=True, stderr=subprocess.DEVNULL)
        try:
            run(["pactl", "set-default-sink", "ci"], env)
            first = [median_of(run([a.bench, "first-sound", str(a.runs)], env), "Play to first sound")
                     for _ in range(a.repeats)]
            first_cli = [median_of(run([a.bench, "first-sound-cli", a.cli, str(a.runs)], env),
                                   "brenvik-cli play to first sound") for _ in range(a.repeats)]
        finally:
            subprocess.run(["pulseaudio", "--kill"], env=env)
    print("Play to first sound (ms, median of %d runs each): %s; median %.1f ms" %
          (a.runs, ", ".join("%.1f" % x for x in first), statistics.median(first)))
    print("brenvik-cli play to first sound (ms, median of %d runs each): %s; median %.1f ms" %
          (a.runs, ", ".join("%.1f" % x for x in first_cli), statistics.median(first_cli)))


if __name__ == "__main__":
    main()
