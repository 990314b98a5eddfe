#!/usr/bin/env bash
# Starts the window program under a virtual X server and saves PNG screenshots of its windows
# (start-up, Preferences, folder chooser, About, help, and both converter windows with a stereo
# wave and a stereo pair of tracks opened, and the Card window) into screenshots/ Each window grabs itself through
# the program's hidden --screenshot option; a whole-screen capture is added when ImageMagick's
# import is installed.
#   scripts/screenshots.sh [BUILD_DIR]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${1:-build}"
program="$build_dir/shell/brenvik"
out="$PWD/screenshots"

scripts/setup-debian.sh xvfb xauth imagemagick python3
if [ ! -x "$program" ] || [ ! -x "$build_dir/cli/brenvik-cli" ]; then
  cmake -S . -B "$build_dir" -G Ninja -DBRENVIK_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build_dir" --target brenvik brenvik-cli
fi

mkdir -p "$out"
rm -f "$out"/*.png
# Files for the converter windows: a 4-second stereo wave, and a loop made from it by the
# command-line tool, whose two tracks the Repeater-to-wave window opens; the Card window lists
# that card with a second, mono loop on track 3.
files="$(mktemp -d)"
python3 - "$files/stereo.wav" <<'PY'
import math, struct, sys
frames = 4 * 44100
data = bytearray()
for i in range(frames):
    left = int(12000 * math.sin(2 * math.pi * 220 * i / 44100))
    right = int(12000 * math.sin(2 * math.pi * 330 * i / 44100))
    data += struct.pack("<hh", left, right)
header = (b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVEfmt " +
          struct.pack("<IHHIIHH", 16, 1, 2, 44100, 176400, 4, 16) + b"data" + struct.pack("<I", len(data)))
open(sys.argv[1], "wb").write(header + data)
PY
mkdir -p "$files/card"
"$build_dir/cli/brenvik-cli" to-loop "$files/stereo.wav" --dest "$files/card" --loop 1 >/dev/null
python3 - "$files/mono.wav" <<'PY'
import math, struct, sys
data = b"".join(struct.pack("<h", int(9000 * math.sin(2 * math.pi * 110 * i / 44100))) for i in range(2 * 44100))
open(sys.argv[1], "wb").write(b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVEfmt " +
                              struct.pack("<IHHIIHH", 16, 1, 1, 44100, 88200, 2, 16) + b"data" +
                              struct.pack("<I", len(data)) + data)
PY
"$build_dir/cli/brenvik-cli" to-loop "$files/mono.wav" --dest "$files/card" --loop 2 --track 3 >/dev/null
# A private settings store, so the shots show the defaults and the user's own stay untouched.
settings_home="$(mktemp -d)"
trap 'rm -rf "$settings_home" "$files"' EXIT

# Inside the virtual server: the program takes its own shots and ends; meanwhile the whole screen
# is captured once.
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  XDG_CONFIG_HOME="$2" QT_QPA_PLATFORM=xcb "$0" --screenshot "$1" \
    --open-wave "$3/stereo.wav" --open-tracks "$3/card/LOOP1/track1.wav" "$3/card/LOOP1/track2.wav" \
    --card "$3/card" &
  pid=$!
  if command -v import >/dev/null; then sleep 2; import -window root "$1/screen.png" || true; fi
  wait "$pid"' "$program" "$out" "$settings_home" "$files"
ls -1 "$out"/*.png
