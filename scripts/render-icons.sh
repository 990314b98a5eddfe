#!/usr/bin/env bash
# Renders the application icon's PNG sizes from its SVG into the hicolor tree under data/icons.
# The PNGs are committed; run this again only after changing the SVG.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh librsvg2-bin
icons=data/icons/hicolor
svg="$icons/scalable/apps/org.brenvik.Brenvik.svg"
for size in 16 32 48 64 128 256; do
  mkdir -p "$icons/${size}x${size}/apps"
  rsvg-convert -w "$size" -h "$size" "$svg" -o "$icons/${size}x${size}/apps/org.brenvik.Brenvik.png"
done
