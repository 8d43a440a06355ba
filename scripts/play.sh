#!/usr/bin/env bash
# Builds the bundled scenario into build/play (a roster that is already there
# is kept, so saved characters survive) and starts the game in that folder.
# The front end is chosen by kestrun: a window when there is a display, else
# this terminal.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
play_dir="$build/play"
mkdir -p "$play_dir"
"$build/kestrun-forge" build scenarios/sample "$play_dir"
exec "$build/kestrun" --dir "$play_dir"
