#!/usr/bin/env bash
# Renders the program icon (data/icons/org.tarnwick.Tarnwick.svg) as the PNG sizes of the
# hicolor theme, data/icons/SIZE.png; the PNGs are committed, so building needs no renderer.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v rsvg-convert > /dev/null || { echo "rsvg-convert is missing: apt-get install librsvg2-bin" >&2; exit 1; }
for size in 16 22 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" data/icons/org.tarnwick.Tarnwick.svg -o "data/icons/$size.png"
done
