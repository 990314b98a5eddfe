#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for SECONDS (default 60) from the seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
packages=(clang libclang-rt-14-dev cmake ninja-build python3)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
CXX=clang++ cmake -S fuzz -B build-fuzz -G Ninja -DFUZZ_SECONDS="$seconds"
cmake --build build-fuzz
python3 scripts/make_fuzz_seeds.py build-fuzz/seeds
ctest --test-dir build-fuzz -L fuzz --output-on-failure
