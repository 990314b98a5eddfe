#!/usr/bin/env bash
# Starts the window program under a virtual X server and saves PNG screenshots of its windows
# (start-up, Preferences, folder chooser, About, help, both converter windows with a stereo wave
# and a stereo pair of tracks opened and their waveforms, the wave-to-Repeater window with its
# tempo bar focused, with its "will write" line warning, Save's tempo question, the tempo found in
# the audio and an imported 48 kHz 24-bit wave,
# the channel dialog, and the Card window with a loop selected and its drop dialog) into screenshots/. Each window grabs
# itself through the program's hidden --screenshot option; a whole-screen capture is added when
# ImageMagick's import is installed.
# With --manual the user's guide's pictures in shell/help/images/ are made anew from the shots.
#   scripts/screenshots.sh [--manual] [BUILD_DIR]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
manual=no
if [ "${1:-}" = "--manual" ]; then manual=yes; shift; fi
build_dir="${1:-build}"
program="$build_dir/shell/brenvik"
out="$PWD/screenshots"

scripts/setup-debian.sh xvfb xauth imagemagick python3
# The tour scripts the free space the Card window shows, which only a test build reads.
if [ ! -x "$program" ] || [ ! -x "$build_dir/cli/brenvik-cli" ] ||
   ! grep -qx 'BRENVIK_TEST_SEAMS:BOOL=ON' "$build_dir/CMakeCache.txt"; then
  cmake -S . -B "$build_dir" -G Ninja -DBRENVIK_WERROR=ON -DBRENVIK_TEST_SEAMS=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build_dir" --target brenvik brenvik-cli
fi

mkdir -p "$out"
rm -f "$out"/*.png
# What the windows show: a music folder with a 4-second stereo wave, and a card folder holding a
# loop made from it by the command-line tool, whose two tracks the Repeater-to-wave window opens.
# The folder has a fixed name, so the guide's pictures only change when the windows do.
tour=/tmp/brenvik-tour
rm -rf "$tour"
mkdir -p "$tour/Music" "$tour/REPEATER" "$tour/settings/Brenvik"
trap 'rm -rf "$tour"' EXIT
# The tour's own backup store and loop library: the loops it writes are named there, and the
# user's own stay untouched.
export XDG_DATA_HOME="$tour/data"
python3 - "$tour/Music/drum-loop.wav" <<'PY'
import math, random, struct, sys
rng = random.Random(7)
frames = 4 * 44100
data = bytearray()
beat = 44100 * 60 // 135  # a hit on every beat at 135 BPM, dying away, so the waveforms show beats
for i in range(frames):
    level = 12000 * math.exp(-6 * (i % beat) / beat)
    # A burst of noise between the beats, as a hi-hat: the window finds the tempo in the hits.
    hat = 3000 * math.exp(-40 * ((i + beat // 2) % beat) / beat) * (rng.random() * 2 - 1)
    left = int(level * math.sin(2 * math.pi * 220 * i / 44100) + hat)
    right = int(level * math.sin(2 * math.pi * 330 * i / 44100) + hat)
    data += struct.pack("<hh", left, right)
header = (b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVEfmt " +
          struct.pack("<IHHIIHH", 16, 1, 2, 44100, 176400, 4, 16) + b"data" + struct.pack("<I", len(data)))
open(sys.argv[1], "wb").write(header + data)
PY
"$build_dir/cli/brenvik-cli" to-loop "$tour/Music/drum-loop.wav" --dest "$tour/REPEATER" --loop 1 >/dev/null
# A second, mono loop on track 3, so that the Card window lists two kinds of loop.
python3 - "$tour/Music/bass-line.wav" <<'PY'
import math, struct, sys
data = b"".join(struct.pack("<h", int(9000 * math.sin(2 * math.pi * 110 * i / 44100))) for i in range(2 * 44100))
open(sys.argv[1], "wb").write(b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVEfmt " +
                              struct.pack("<IHHIIHH", 16, 1, 1, 44100, 88200, 2, 16) + b"data" +
                              struct.pack("<I", len(data)) + data)
PY
"$build_dir/cli/brenvik-cli" to-loop "$tour/Music/bass-line.wav" --dest "$tour/REPEATER" --loop 2 --track 3 >/dev/null
# A field recording as a recorder or a DAW leaves it, 48 kHz 24-bit stereo, for the import.
python3 - "$tour/Music/field-recording.wav" <<'PY'
import math, struct, sys
frames = 3 * 48000
data = bytearray()
for i in range(frames):
    for frequency in (220, 277):
        data += struct.pack("<i", int(4000000 * math.sin(2 * math.pi * frequency * i / 48000)))[:3]
open(sys.argv[1], "wb").write(b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVEfmt " +
                              struct.pack("<IHHIIHH", 16, 1, 2, 48000, 288000, 6, 24) + b"data" +
                              struct.pack("<I", len(data)) + data)
PY
# A private settings store naming the two folders, as a user's Preferences would; the user's
# own store stays untouched.
cat > "$tour/settings/Brenvik/Brenvik.conf" <<CONF
[Startup]
intLP=$tour/REPEATER
intWV=$tour/Music
CONF

# A sound server of the tour's own, a null sink in place of a sound card, so the windows' Play
# buttons are usable in the pictures; the machine's own server is neither used nor disturbed.
mkdir -p "$tour/run" "$tour/home"
chmod 700 "$tour/run"
export HOME="$tour/home" XDG_RUNTIME_DIR="$tour/run" PULSE_SERVER="unix:$tour/run/pulse/native"
trap 'pulseaudio --kill 2>/dev/null || true; rm -rf "$tour"' EXIT
if ! pulseaudio -n --daemonize=yes --exit-idle-time=-1 --load=module-native-protocol-unix \
     --load="module-null-sink sink_name=tour rate=44100 channels=2" 2>"$tour/pulse.log"; then
  echo "no sound server could start (Play shows disabled): $(cat "$tour/pulse.log")" >&2
fi

# The free space the windows show is that of a 1 GB card, whatever the machine's own disk holds,
# so that the Card window's picture does not change from one run to the next.
export BRENVIK_TEST_FREE_SPACE=$((1000 * 1000 * 1000))

# Inside the virtual server: the program takes its own shots and ends; meanwhile the whole screen
# is captured once.
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  XDG_CONFIG_HOME="$2" XDG_CACHE_HOME="$3/cache" QT_QPA_PLATFORM=xcb "$0" --screenshot "$1" \
    --open-wave "$3/Music/drum-loop.wav" --open-tracks "$3/REPEATER/LOOP1/track1.wav" \
    "$3/REPEATER/LOOP1/track2.wav" --import "$3/Music/field-recording.wav" --card "$3/REPEATER" &
  pid=$!
  if command -v import >/dev/null; then sleep 2; import -window root "$1/screen.png" || true; fi
  wait "$pid"' "$program" "$out" "$tour/settings" "$tour"
ls -1 "$out"/*.png

[ "$manual" = yes ] || exit 0
# The guide's pictures: the converter windows trimmed to their controls, the main window scaled
# down, the tempo bar's corner cut out; all reduced to a palette and without time stamps, so
# they stay small and the same shots give the same files.
images=shell/help/images
mkdir -p "$images"
picture() {  # SHOT NAME [IMAGEMAGICK OPTIONS...]
  local shot="$1" name="$2"
  shift 2
  convert "$out/$shot.png" "$@" -strip -define png:exclude-chunks=date,time PNG8:"$images/$name.png"
}
picture main-window-with-files main-window -resize 800x
picture wave-to-repeater-stereo wave-to-repeater -crop 761x10000+0+0 +repage
picture wave-to-repeater-focus keyboard-focus -crop 390x184+0+0 +repage
picture wave-to-repeater-imported imported -crop 390x184+0+0 +repage
picture wave-to-repeater-warning will-write-warning -crop 761x36+0+310 +repage
picture wave-to-repeater-found-tempo found-tempo -crop 600x184+0+0 +repage
picture wave-to-repeater-tempo-question tempo-question
picture repeater-to-wave-stereo repeater-to-wave -crop 761x10000+0+0 +repage
picture channel-dialog channel-dialog
picture preferences preferences
picture folder-chooser folder-chooser
picture about about
picture card card -trim +repage
picture card-drop card-drop
du -cb "$images"/*.png
