#!/usr/bin/env bash
# Sets up, builds and starts Brenvik (the README's run command). Arguments after the script
# name go to brenvik-cli instead of starting the window program: scripts/run.sh info PATH
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
cmake -S . -B build -G Ninja -DBRENVIK_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
if [ $# -gt 0 ]; then
  exec build/cli/brenvik-cli "$@"
fi
exec build/shell/brenvik
