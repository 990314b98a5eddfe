#!/usr/bin/env bash
# Installs what Brenvik needs to build, test and run on Debian 12 (as root, or through sudo),
# plus any further packages named as arguments. Installs nothing when all are present.
# Qt Multimedia plays through PulseAudio (or PipeWire's PulseAudio server); the audio output test
# starts a PulseAudio server of its own with a null sink, driven by pactl. The interruption test
# kills brenvik-cli at chosen system calls through strace. The eject test talks to a stand-in
# udisks2 (python3-dbusmock) on a private dbus-daemon.
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config qt6-base-dev libgl1-mesa-dev libsndfile1-dev libsoxr-dev libaubio-dev
          libebur128-dev libsqlite3-dev libxxhash-dev qt6-multimedia-dev pulseaudio pulseaudio-utils strace dbus-daemon python3-dbusmock "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
