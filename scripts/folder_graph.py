#!/usr/bin/env python3
"""The include graph of the product's folders, and the arrows that run back up.

Walks the product's .cpp and .h files (not tests/, fuzz/, bench/ or build trees), maps every
`#include "X.h"` to the folder that holds X.h, and prints one line per folder -> folder edge with
the number of includes behind it. A folder of windows ends in /ui, is shell, or holds what the
windows share (widgets, converter_window); every other folder is core. An edge from a core
folder to a window folder is marked "UP" and makes the exit status 1: ctest runs the script as
`folder_tiers`, so the test command fails when a core folder starts to include a window's header.

  scripts/folder_graph.py [--repo DIR] [--up-only]
"""
import argparse
import collections
import os
import re
import sys

SKIPPED = {"tests", "fuzz", "bench", "build", "build-fuzz", "data", "cmake", "scripts", ".git"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


WINDOW_FOLDERS = {"shell", "widgets", "converter_window"}


def is_window(folder):
    return folder.split("/")[0] in WINDOW_FOLDERS or folder.endswith("/ui") or folder == "ui"


def product_files(repo):
    for root, dirs, files in os.walk(repo):
        rel = os.path.relpath(root, repo)
        top = rel.split(os.sep)[0]
        # A build tree by any name (it holds CMakeCache.txt) has moc files that include the windows.
        if top in SKIPPED or top.startswith("build") or "CMakeCache.txt" in files:
            dirs[:] = []
            continue
        dirs.sort()
        for name in sorted(files):
            if name.endswith((".cpp", ".h")):
                yield ("." if rel == "." else rel.replace(os.sep, "/")), os.path.join(root, name)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--repo", default=os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
    parser.add_argument("--up-only", action="store_true", help="print only the arrows that run back up")
    args = parser.parse_args()

    files = list(product_files(args.repo))
    home = collections.defaultdict(set)
    for folder, path in files:
        home[os.path.basename(path)].add(folder)

    edges = collections.Counter()
    for folder, path in files:
        with open(path, encoding="utf-8", errors="replace") as source:
            for line in source:
                match = INCLUDE.match(line)
                if not match:
                    continue
                target = match.group(1)
                if "/" in target:  # a path below the including folder or from the repository's top
                    candidates = {os.path.dirname(os.path.normpath(os.path.join(folder, target)))}
                else:
                    candidates = home.get(target, set())
                for included in candidates:
                    if included != folder:
                        edges[(folder, included)] += 1

    up = 0
    for (source, target), count in sorted(edges.items()):
        back_up = not is_window(source) and is_window(target)
        up += back_up
        if back_up or not args.up_only:
            print(f"{source} -> {target} ({count}){'  UP' if back_up else ''}")
    print(f"{len(edges)} edges, {up} from a core folder to a window folder")
    return 1 if up else 0


if __name__ == "__main__":
    sys.exit(main())
