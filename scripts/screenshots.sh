#!/usr/bin/env bash
# Starts the window program under a virtual X server and saves PNG screenshots of its windows
# (start-up, Preferences, folder chooser, About, help) into screenshots/. Each window grabs
# itself through the program's hidden --screenshot option; a whole-screen capture is added when
# ImageMagick's import is installed.
#   scripts/screenshots.sh [BUILD_DIR]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${1:-build}"
program="$build_dir/shell/brenvik"
out="$PWD/screenshots"

if [ ! -x "$program" ]; then
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build_dir" --target brenvik
fi
command -v xvfb-run >/dev/null || { echo "xvfb-run is missing (package xvfb)" >&2; exit 1; }

mkdir -p "$out"
rm -f "$out"/*.png
# A private settings store, so the shots show the defaults and the user's own stay untouched.
settings_home="$(mktemp -d)"
trap 'rm -rf "$settings_home"' EXIT

# Inside the virtual server: the program takes its own shots and ends; meanwhile the whole screen
# is captured once.
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  XDG_CONFIG_HOME="$2" QT_QPA_PLATFORM=xcb "$0" --screenshot "$1" &
  pid=$!
  if command -v import >/dev/null; then sleep 2; import -window root "$1/screen.png" || true; fi
  wait "$pid"' "$program" "$out" "$settings_home"
ls -1 "$out"/*.png
