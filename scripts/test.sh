#!/usr/bin/env bash
# Sets up, builds and runs every test (the README's test command).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
cmake -S . -B build -G Ninja -DBRENVIK_WERROR=ON -DBRENVIK_TEST_SEAMS=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
ctest --test-dir build --output-on-failure -LE fuzz
