#!/usr/bin/env bash
# Renders the PNG icons from data/icons/kestrun.svg (Debian package librsvg2-bin).
# Run it after changing the drawing and commit the pictures with it.
set -euo pipefail
cd "$(dirname "$0")/../data/icons"
for size in 64 128; do
  rsvg-convert -w "$size" -h "$size" kestrun.svg -o "kestrun-$size.png"
done
