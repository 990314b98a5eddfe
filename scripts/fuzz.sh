#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for SECONDS (default 60) from the seed corpus,
# then each target over the inputs that once failed it (fuzz/regressions/<target>/).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
scripts/setup-debian.sh clang libclang-rt-14-dev python3
CXX=clang++ cmake -S fuzz -B build-fuzz -G Ninja -DBRENVIK_WERROR=ON -DFUZZ_SECONDS="$seconds"
cmake --build build-fuzz -j2
python3 scripts/make_fuzz_seeds.py build-fuzz/seeds
ctest --test-dir build-fuzz -L fuzz --output-on-failure
