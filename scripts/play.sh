#!/usr/bin/env bash
# Starts the game in the directory of the bundled scenario. The front end is
# chosen by kestrun: a window when there is a display, else this terminal.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
scenario_dir="$build/scenario"
mkdir -p "$scenario_dir"
if [ -x "$build/kestrun-forge" ] && [ -d scenarios/sample ]; then
  "$build/kestrun-forge" build scenarios/sample "$scenario_dir"
fi
exec "$build/kestrun" --dir "$scenario_dir"
