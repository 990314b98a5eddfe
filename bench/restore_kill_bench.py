#!/usr/bin/env python3
"""Kills `brenvik-cli restore --overwrite` of a 40 MB loop with SIGKILL at random moments and
checks, after every kill, that the card holds one of the two loops whole.

Two whole-card backups are made of LOOP1 holding loop A and loop B (stereo, 40 MB of audio
together). Each round restores the backup the card does not hold, kills the program after a
random delay between 0 and --reach times what a whole restore takes, and then compares the
card's LOOP1 file by file with A and with B. Folders a killed restore leaves beside the loops
(the staging folder .brenvik-staging) are counted; one more whole restore at the end must tidy
them all. The backup store is emptied after each round, to keep the disk use to a few loops.

    bench/restore_kill_bench.py [--cli build/cli/brenvik-cli] [--kills 50] [--work DIR] [--seed 1]
                                [--reach 2]

Exits 1 when any round leaves LOOP1 neither A nor B, or folders stay beside the loops at the end.
"""
import argparse
import hashlib
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile
import time


def stereo_wave(path, data_bytes, seed):
    rng = random.Random(seed)
    block = bytes(rng.getrandbits(8) for _ in range(1 << 16))
    header = b"RIFF" + struct.pack("<I", 36 + data_bytes) + b"WAVEfmt " + struct.pack(
        "<IHHIIHH", 16, 1, 2, 44100, 176400, 4, 16) + b"data" + struct.pack("<I", data_bytes)
    with open(path, "wb") as f:
        f.write(header)
        for at in range(0, data_bytes, len(block)):
            f.write(block[: min(len(block), data_bytes - at)])


def digests(folder):
    if not os.path.isdir(folder):
        return None
    found = {}
    for name in sorted(os.listdir(folder)):
        with open(os.path.join(folder, name), "rb") as f:
            found[name] = hashlib.sha256(f.read()).hexdigest()
    return found


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", default="build/cli/brenvik-cli")
    parser.add_argument("--kills", type=int, default=50)
    parser.add_argument("--work")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--reach", type=float, default=2.0, help="kills fall within this many whole restores")
    args = parser.parse_args()
    cli = os.path.abspath(args.cli)
    work = args.work or tempfile.mkdtemp(prefix="restore-kill-")
    env = dict(os.environ, XDG_DATA_HOME=os.path.join(work, "data"))
    card, backups = os.path.join(work, "card"), os.path.join(work, "backups")
    for folder in (card, backups):
        os.makedirs(folder, exist_ok=True)

    def run(*words):
        return subprocess.run([cli, *words], env=env, check=True, capture_output=True, text=True).stdout.strip()

    made, loops = [], []
    for k, seed in enumerate((11, 22)):
        wave = os.path.join(work, "in.wav")
        stereo_wave(wave, 40 * 1000 * 1000 - (40 * 1000 * 1000) % 4, seed)
        run("to-loop", wave, "--dest", card, "--loop", "1", *(["--overwrite"] if k else []))
        loops.append(digests(os.path.join(card, "LOOP1")))
        made.append(run("backup", card, backups))
        os.remove(wave)
    store = os.path.join(work, "data", "Brenvik", "backups")

    start = time.monotonic()
    run("restore", made[0], card, "--overwrite")
    whole = time.monotonic() - start
    shutil.rmtree(store, ignore_errors=True)

    rng = random.Random(args.seed)
    outcomes = {"old": 0, "new": 0, "broken": 0}
    finished = leftovers = 0
    for _ in range(args.kills):
        held = loops.index(digests(os.path.join(card, "LOOP1"))) if digests(os.path.join(card, "LOOP1")) in loops else 0
        target = 1 - held
        program = subprocess.Popen([cli, "restore", made[target], card, "--overwrite"], env=env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(rng.uniform(0, args.reach * whole))
        if program.poll() is None:
            program.kill()
        else:
            finished += 1
        program.wait()
        now = digests(os.path.join(card, "LOOP1"))
        outcome = "new" if now == loops[target] else "old" if now == loops[held] else "broken"
        outcomes[outcome] += 1
        leftovers += sum(name.startswith(".brenvik-") for name in os.listdir(card))
        if outcome == "broken":
            print("broken:", sorted(os.listdir(card)), file=sys.stderr)
        shutil.rmtree(store, ignore_errors=True)

    print(f"a whole restore took {whole:.2f} s; {args.kills} rounds killed at random within {args.reach} times that "
          f"({finished} had finished first)")
    print(f"LOOP1 afterwards: old loop whole {outcomes['old']}, new loop whole {outcomes['new']}, "
          f"neither {outcomes['broken']}; folders left beside the loops {leftovers}")
    run("restore", made[0], card, "--overwrite")
    left = sum(name.startswith(".brenvik-") for name in os.listdir(card))
    print(f"after one more whole restore: folders left beside the loops {left}")
    if not args.work:
        shutil.rmtree(work, ignore_errors=True)
    return 1 if outcomes["broken"] or left else 0


if __name__ == "__main__":
    sys.exit(main())
