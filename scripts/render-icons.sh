#!/usr/bin/env bash
# Renders the program's icon (data/linux/icons/org.vorlin.Vorlin.svg) at the bitmap sizes of the
# hicolor icon theme. The results are committed; run this again after changing the picture.
set -euo pipefail
cd "$(dirname "$0")/../data/linux/icons"
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "${size}x${size}"
  rsvg-convert -w "$size" -h "$size" org.vorlin.Vorlin.svg -o "${size}x${size}/org.vorlin.Vorlin.png"
done
