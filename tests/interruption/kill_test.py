#!/usr/bin/env python3
"""Kills `brenvik-cli` at every file-system step of each change to a card, then looks at the card.

For each scenario a template is made once (cards of small generated loops and a data home), the
command is run to completion on a copy to learn the card(s) "after", and its mutating system calls
are counted under strace. Then, for every system call name S and every k up to its count, a fresh
copy of the template runs the command under strace, which fails the k-th call of S and kills the
program with SIGKILL at that moment. `brenvik-cli list` then opens each card (where an interrupted
change is finished or rolled back), and each card must be whole:

  - its LOOPn folders (names without case) and every byte in them are those of before or of after;
  - the cards together lose no loop that any of them held before;
  - it holds no entry, dot-names included, that was not there before, other than LOOPn folders;
  - `brenvik-cli check CARD` exits 0.

Every run has the same paths (the backup store and undo record name the card folder) and its own
HOME, XDG_DATA_HOME, XDG_CACHE_HOME and XDG_CONFIG_HOME inside the temporary folder.

    kill_test.py --cli build/cli/brenvik-cli [--scenario NAME]... [--max-kills N] [--keep]
                 [--verbose]

Exits 0 when every card was whole, 1 when one was not, 2 when the test itself could not run (a
scenario that does not pass without a kill, or a damaged card that is judged whole), 77 when
strace is missing or may not trace here. The last line is "N passed, M failed".
"""
import argparse
import array
import hashlib
import math
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import wave

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import test_children  # noqa: E402

SYSCALLS = ["write", "pwrite64", "writev", "fsync", "fdatasync", "rename", "renameat",
            "renameat2", "mkdir", "mkdirat", "unlink", "unlinkat", "rmdir", "ftruncate", "openat"]
SKIPPED = 77
LOOP_NAME = re.compile(r"^LOOP([1-9][0-9]{0,2})$", re.IGNORECASE)
CARD_LOOPS = list(range(1, 12)) + [14]  # a gap, so that closing the gaps moves a loop
TIMEOUT = 60


class HarnessError(Exception):
    """The test itself cannot judge: it would not tell a whole card from a damaged one."""


def write_wave(path, seed, channels):
    """A few tenths of a second of 44.1 kHz 16-bit audio, different for every seed."""
    rng = random.Random(seed)
    frames = 8820 + 441 * (seed % 7)
    step = 0.01 + 0.003 * seed
    samples = array.array("h", (int(9000 * math.sin(i // channels * step)) + rng.randint(-300, 300)
                                for i in range(frames * channels)))
    with wave.open(path, "wb") as w:
        w.setnchannels(channels)
        w.setsampwidth(2)
        w.setframerate(44100)
        w.writeframes(samples.tobytes())


class Runner:
    """Runs brenvik-cli in the one run folder, with its own home there."""

    def __init__(self, cli, root):
        self.cli = cli
        self.run_dir = os.path.join(root, "run")
        self.waves = os.path.join(root, "waves")
        home = os.path.join(self.run_dir, "home")
        self.env = dict(os.environ, HOME=home, XDG_DATA_HOME=os.path.join(home, "data"),
                        XDG_CACHE_HOME=os.path.join(home, "cache"),
                        XDG_CONFIG_HOME=os.path.join(home, "config"), LC_ALL="C")

    def path(self, name):
        return os.path.join(self.run_dir, name)

    def cli_run(self, args, prefix=(), check=True):
        done = subprocess.run(list(prefix) + [self.cli] + args, env=self.env, cwd=self.run_dir,
                              capture_output=True, text=True, timeout=TIMEOUT)
        if check and done.returncode != 0:
            raise RuntimeError("brenvik-cli %s exited %d: %s" % (" ".join(args), done.returncode,
                                                                  done.stderr.strip()))
        return done

    def wave(self, seed, channels):
        path = os.path.join(self.waves, "w%d-%d.wav" % (seed, channels))
        if not os.path.exists(path):
            write_wave(path, seed, channels)
        return path

    def make_card(self, name, numbers, seed):
        os.makedirs(self.path(name))
        for i, n in enumerate(numbers):
            self.cli_run(["to-loop", self.wave(seed + i, 1 + (seed + i) % 2), "--dest", name,
                          "--loop", str(n)])


def undo_of_renumber(r):
    r.cli_run(["renumber", "CARD", "--close-gaps"])
    return ["undo", "CARD"]


def restore_of_backup(r):
    """A whole-card backup, then the card changed: one loop replaced, one deleted."""
    os.makedirs(r.path("DEST"))
    folder = r.cli_run(["backup", "CARD", "DEST"]).stdout.strip().splitlines()[-1]
    r.cli_run(["to-loop", r.wave(90, 2), "--dest", "CARD", "--loop", "3", "--overwrite"])
    r.cli_run(["delete", "CARD", "7"])
    return ["restore", folder, "CARD", "--overwrite"]


# name: (cards beside CARD, what makes the template and gives the command)
SCENARIOS = {
    "save-over": ([], lambda r: ["to-loop", r.wave(80, 2), "--dest", "CARD", "--loop", "5",
                                 "--overwrite"]),
    "move": ([], lambda r: ["move", "CARD", "3", "20"]),
    "move-to": (["CARD2"], lambda r: ["move", "CARD", "3", "5", "--to", "CARD2"]),
    "copy": ([], lambda r: ["copy", "CARD", "2", "CARD", "20"]),
    "swap": ([], lambda r: ["swap", "CARD", "4", "14"]),
    "delete": ([], lambda r: ["delete", "CARD", "2", "5", "9"]),
    "renumber": ([], lambda r: ["renumber", "CARD", "--close-gaps"]),
    "undo": ([], undo_of_renumber),
    "restore": ([], restore_of_backup),
}


def snapshot(card):
    """Loop folders (upper-cased name -> {relative path: digest}) and every entry's path."""
    loops, entries = {}, set()
    for top, dirs, files in os.walk(card):
        for name in dirs + files:
            rel = os.path.relpath(os.path.join(top, name), card)
            entries.add(rel)
            head = rel.split(os.sep)[0]
            if not LOOP_NAME.match(head):
                continue
            loop = loops.setdefault(head.upper(), {})
            inner = os.path.relpath(rel, head)
            if inner == ".":
                continue
            if name in files:
                with open(os.path.join(top, name), "rb") as f:
                    loop[inner] = hashlib.sha256(f.read()).hexdigest()
            else:
                loop[inner + "/"] = "folder"
    return loops, entries


def loop_difference(loops, want):
    """One line naming what differs between two loop maps, or ''."""
    for name in sorted(set(loops) | set(want), key=lambda s: int(s[4:])):
        if name not in loops:
            return name + " missing"
        if name not in want:
            return name + " not expected"
        if loops[name] != want[name]:
            files = sorted(set(loops[name]) ^ set(want[name]))
            files += sorted(f for f in set(loops[name]) & set(want[name])
                            if loops[name][f] != want[name][f])
            return "%s differs (%s)" % (name, ", ".join(files[:3]))
    return ""


def judge(r, cards, before, after):
    """What is wrong with the cards in the run folder, one line, or '' when they are whole."""
    problems, states, now = [], {}, {}
    for card in cards:
        listing = r.cli_run(["list", card], check=False)
        loops, entries = snapshot(r.path(card))
        now[card] = loops
        if not loop_difference(loops, before[card][0]):
            states[card] = "before"
        elif not loop_difference(loops, after[card][0]):
            states[card] = "after"
        else:
            problems.append("%s neither before (%s) nor after (%s)" % (
                card, loop_difference(loops, before[card][0]),
                loop_difference(loops, after[card][0])))
        stray = sorted(e for e in entries - before[card][1]
                       if not LOOP_NAME.match(e.split(os.sep)[0]))
        if stray:
            problems.append("%s holds %s" % (card, ", ".join(stray[:3])))
        folders = [e for e in entries if os.sep not in e and LOOP_NAME.match(e)]
        if len(folders) != len(loops):
            problems.append("%s has loop folders whose names differ only in case" % card)
        if listing.returncode != 0:
            problems.append("list %s exited %d" % (card, listing.returncode))
        checked = r.cli_run(["check", card], check=False)
        if checked.returncode != 0:
            problems.append("check %s exited %d: %s" % (card, checked.returncode,
                                                        first_complaint(checked)))
    if not problems and len(set(states.values())) > 1:
        held = {digest_of(l) for card in cards for l in now[card].values()}
        lost = sorted(n for card in cards for n, l in before[card][0].items()
                      if digest_of(l) not in held)
        if lost:
            problems.append("a loop of before is on no card (%s)" % ", ".join(lost))
    return "; ".join(problems)


def digest_of(loop):
    return tuple(sorted(loop.items()))


def first_complaint(done):
    lines = [l for l in (done.stdout + done.stderr).splitlines() if l and not l.endswith(": ok")]
    return lines[0] if lines else ""


def count_steps(r, command):
    """How often the command makes each mutating system call, run to its end under strace."""
    log = os.path.join(os.path.dirname(r.run_dir), "steps.log")
    r.cli_run(command, prefix=["strace", "-f", "-qq", "-o", log, "-e",
                               "trace=" + ",".join(SYSCALLS)])
    counts = {}
    with open(log) as f:
        for line in f:
            found = re.match(r"^(?:\d+\s+)?([a-z0-9_]+)\(", line)
            if found and found.group(1) in SYSCALLS:
                counts[found.group(1)] = counts.get(found.group(1), 0) + 1
    return counts


def steps_to_try(counts, max_kills):
    steps = [(name, k) for name in SYSCALLS for k in range(1, counts.get(name, 0) + 1)]
    if max_kills is None or len(steps) <= max_kills:
        return steps
    return [steps[i * len(steps) // max_kills] for i in range(max_kills)]


def run_scenario(name, args, root):
    extra, prepare = SCENARIOS[name]
    r = Runner(args.cli, root)
    shutil.rmtree(r.run_dir, ignore_errors=True)
    os.makedirs(r.run_dir)
    r.make_card("CARD", CARD_LOOPS, 1)
    for i, card in enumerate(extra):
        r.make_card(card, [1, 2], 40 + 10 * i)
    command = prepare(r)
    cards = ["CARD"] + extra
    before = {card: snapshot(r.path(card)) for card in cards}
    saved = {"before": os.path.join(root, "before"), "after": os.path.join(root, "after")}
    shutil.copytree(r.run_dir, saved["before"], symlinks=True)
    counts = count_steps(r, command)
    for card in cards:
        r.cli_run(["list", card])
    after = {card: snapshot(r.path(card)) for card in cards}
    if after == before:
        raise HarnessError("%s: the command changed no card" % name)
    shutil.copytree(r.run_dir, saved["after"], symlinks=True)

    def fresh(state="before"):
        shutil.rmtree(r.run_dir)
        shutil.copytree(saved[state], r.run_dir, symlinks=True)

    self_test(r, name, cards, lambda: judge(r, cards, before, after), fresh)
    steps = steps_to_try(counts, args.max_kills)
    passed, failures = 0, []
    for syscall, k in steps:
        fresh()
        run = r.cli_run(command, check=False, prefix=[
            "strace", "-f", "-qq", "-o", os.devnull, "-e", "trace=" + syscall,
            "-e", "inject=%s:error=EIO:signal=KILL:when=%d" % (syscall, k)])
        wrong = judge(r, cards, before, after)
        if args.verbose:
            print("  %s %d: %s, %s" % (syscall, k, "killed" if run.returncode in (-9, 137)
                                       else "exit %d" % run.returncode, wrong or "whole"))
        if not wrong:
            passed += 1
            continue
        failures.append("  %s %d: %s" % (syscall, k, wrong))
        if args.keep:
            shutil.copytree(r.run_dir, os.path.join(root, "failed-%s-%s-%d" % (name, syscall, k)),
                            symlinks=True)
    for folder in saved.values():
        shutil.rmtree(folder)
    print("%s: %d steps (%s), %d kills tried, %d cards whole" % (
        name, sum(counts.values()), " ".join("%s %d" % (s, counts[s]) for s in SYSCALLS
                                             if s in counts), len(steps), passed))
    for line in failures:
        print(line)
    sys.stdout.flush()
    return passed, len(failures)


def flip_last_byte_of_a_track(card):
    track = sorted(os.path.join(card, loop, f) for loop in os.listdir(card)
                   for f in os.listdir(os.path.join(card, loop)) if f.lower().endswith(".wav"))[0]
    with open(track, "r+b") as f:
        f.seek(-1, os.SEEK_END)
        last = f.read(1)[0]
        f.seek(-1, os.SEEK_END)
        f.write(bytes([last ^ 1]))


def self_test(r, name, cards, judged, fresh):
    """The judge passes the cards of before and of after, and fails damaged or littered ones."""
    def other_cards_before():
        fresh("after")
        for card in cards[1:]:  # the only scenario with two cards is a move: the loop is lost
            shutil.rmtree(r.path(card))
            shutil.copytree(os.path.join(os.path.dirname(r.run_dir), "before", card), r.path(card))

    cases = [("the cards before", lambda: fresh("before"), True),
             ("the cards after", lambda: fresh("after"), True),
             ("a track with one byte changed", lambda: (
                 fresh("after"), flip_last_byte_of_a_track(r.path("CARD"))), False),
             ("a stray folder on the card", lambda: (
                 fresh("before"), os.makedirs(r.path("CARD/.staging"))), False),
             ("a loop twice, in two cases", lambda: (
                 fresh("before"), shutil.copytree(r.path("CARD/LOOP1"), r.path("CARD/loop1"))),
              False)]
    if len(cards) > 1:
        cases.append(("the loop moved off one card and not onto the other", other_cards_before,
                      False))
    for what, make, whole in cases:
        make()
        wrong = judged()
        if bool(wrong) == whole:
            raise HarnessError("%s: %s %s" % (name, what, "judged: " + wrong if whole
                                               else "judged whole"))


def strace_usable():
    if shutil.which("strace") is None:
        return "strace is not installed"
    done = subprocess.run(["strace", "-f", "-qq", "-o", os.devnull, "true"], capture_output=True,
                          text=True)
    return "" if done.returncode == 0 else "strace cannot trace here: " + done.stderr.strip()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", default="build/cli/brenvik-cli")
    parser.add_argument("--scenario", action="append", choices=sorted(SCENARIOS))
    parser.add_argument("--max-kills", type=int, help="kills per scenario, evenly over the steps")
    parser.add_argument("--keep", action="store_true", help="keep the temporary folder of failures")
    parser.add_argument("--verbose", action="store_true")
    args = parser.parse_args()
    args.cli = os.path.abspath(args.cli)
    test_children.tie_children_to_this_test()  # strace and the program under it end with the test
    why_not = strace_usable()
    if why_not:
        print(why_not + ": skipped")
        return SKIPPED
    root = tempfile.mkdtemp(prefix="brenvik-kill-")
    os.makedirs(os.path.join(root, "waves"))
    passed = failed = 0
    try:
        for name in args.scenario or list(SCENARIOS):
            p, f = run_scenario(name, args, root)
            passed, failed = passed + p, failed + f
    except (HarnessError, RuntimeError, subprocess.TimeoutExpired) as error:
        print("the test could not run: %s" % error)
        print("%d passed, %d failed" % (passed, failed))
        return 2
    finally:
        shutil.rmtree(os.path.join(root, "run"), ignore_errors=True)
        if args.keep and failed:
            print("kept " + root)
        else:
            shutil.rmtree(root, ignore_errors=True)
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
