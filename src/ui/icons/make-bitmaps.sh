#!/usr/bin/env bash
# Makes the icon's bitmaps from palisade.svg: PNGs at the usual sizes (the Linux program, the
# hicolor theme) and one multi-size palisade.ico (the Windows program). Run it after changing
# the SVG and commit what it writes; builds use the committed files. Needs rsvg-convert
# (Debian: librsvg2-bin) and ImageMagick.
set -euo pipefail
cd "$(dirname "$0")"
sizes=(16 24 32 48 64 128 256)
for size in "${sizes[@]}"; do
    rsvg-convert -w "$size" -h "$size" palisade.svg -o "palisade-$size.png"
done
convert palisade-16.png palisade-24.png palisade-32.png palisade-48.png palisade-256.png \
    palisade.ico
