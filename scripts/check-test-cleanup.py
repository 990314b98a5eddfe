#!/usr/bin/env python3
"""Checks that the tests leave nothing running: runs the suite (`ctest -LE fuzz`, in random order)
on an existing build and kills it with SIGKILL to ctest's process group at varied moments, ten
times, then lists every process the tests started that is still running a few seconds later.

Every process of a round carries the round's mark in its environment (inherited from ctest, so the
tests, the servers they start and the programs those run); nothing else on the machine is touched.

  scripts/check-test-cleanup.py [--build-dir build] [--rounds 10] [--earliest 5] [--latest 90]
                                [--seed 1] [-j 2] [--tests REGEX]

Exits 0 when no round left a process behind, 1 when one did (those are then stopped).
"""
import argparse
import os
import random
import re
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "support"))
import test_children  # noqa: E402

ROUND_MARK = "BRENVIK_TEST_CLEANUP_ROUND"
GRACE = 10  # seconds for a program to notice that its test is gone


def running_tests(log):
    """The tests ctest had started and not finished, from its output."""
    with open(log, errors="replace") as f:
        text = f.read()
    started = re.findall(r"Start\s+\d+: (\S+)", text)
    ended = set(re.findall(r"\d+/\d+ Test\s+#\d+: (\S+)", text))
    return [name for name in started if name not in ended]


def one_round(args, number, after):
    token = "%d-%d" % (os.getpid(), number)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", **{ROUND_MARK: token})
    with tempfile.NamedTemporaryFile("w+", prefix="brenvik-cleanup-ctest-", suffix=".log") as log:
        ctest = subprocess.Popen(["ctest", "--test-dir", args.build_dir, "-LE", "fuzz", "--schedule-random",
                                  "-j", str(args.jobs)] + (["-R", args.tests] if args.tests else []), stdout=log, stderr=subprocess.STDOUT,
                                 env=env, start_new_session=True)
        try:
            ctest.wait(timeout=after)
            print("round %d: the suite ended before %.1f s; nothing to kill" % (number, after))
            return 0
        except subprocess.TimeoutExpired:
            pass
        running = [p for p in test_children.marked(ROUND_MARK) if p[2] == token]
        started = {p[0] for p in test_children.marked()}  # by a test, not ctest starting the test
        helpers = [p for p in running if p[0] in started]
        tests = running_tests(log.name)
        try:
            os.killpg(ctest.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        ctest.wait()
    deadline = time.monotonic() + GRACE
    left = [p for p in test_children.marked(ROUND_MARK) if p[2] == token]
    while left and time.monotonic() < deadline:
        time.sleep(0.2)
        left = [p for p in test_children.marked(ROUND_MARK) if p[2] == token]
    print("round %d: killed at %.1f s during %s; %d processes of the tests were running, %d of them "
          "started by a test (%s); %d left" % (
              number, after, ", ".join(tests) or "no test", len(running), len(helpers),
              ", ".join(sorted({p[1] for p in helpers})) or "none", len(left)), flush=True)
    for pid, name, _ in left:
        cmdline = test_children.proc_file(pid, "cmdline").replace(b"\0", b" ").decode(errors="replace")
        print("  left: %s (pid %d): %s" % (name, pid, cmdline.strip()))
        try:
            os.kill(pid, signal.SIGKILL)
        except OSError:
            pass
    return len(left)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build-dir", default="build")
    parser.add_argument("--rounds", type=int, default=10)
    parser.add_argument("--earliest", type=float, default=5, help="seconds before the first kill")
    parser.add_argument("--latest", type=float, default=90, help="seconds before the last kill")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("-j", "--jobs", type=int, default=2)
    parser.add_argument("--tests", help="only the tests whose names match (ctest -R)")
    args = parser.parse_args()
    rng = random.Random(args.seed)
    # Spread over the span, each moment shifted at random within its share of it.
    step = (args.latest - args.earliest) / args.rounds
    moments = [args.earliest + step * (i + rng.random()) for i in range(args.rounds)]
    rng.shuffle(moments)
    left = sum(one_round(args, i + 1, after) for i, after in enumerate(moments))
    print("%d rounds, %d processes left" % (args.rounds, left))
    return 1 if left else 0


if __name__ == "__main__":
    sys.exit(main())
