#!/usr/bin/env bash
# Makes the pictures of docs/playing.md: scripted sessions of the bundled
# sample scenario, each screen the game's own --dump-png.
#
#   scripts/guide-screens.sh [KESTRUN [FORGE [OUTDIR]]]
#
# Defaults: build/kestrun, build/kestrun-forge, docs/playing. Run it after a
# change of a screen the guide shows, look at the pictures, and commit them
# with the guide (the test guide_screens compares them).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
KESTRUN="$(realpath "${1:-$ROOT/build/kestrun}")"
FORGE="$(realpath "${2:-$ROOT/build/kestrun-forge}")"
OUT="$(realpath -m "${3:-$ROOT/docs/playing}")"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$OUT"

# The sample with a roster: empty, or one of the test parties (the "spells"
# party waits in town: Ena, Orin, Bram, dead Tess and Lio).
build() {
  rm -rf "$WORK/src" "$WORK/game"
  cp -r "$ROOT/scenarios/sample" "$WORK/src"
  [ "$1" = empty ] || cp "$ROOT/tests/data/$1/roster.toml" "$WORK/src/"
  "$FORGE" build "$WORK/src" "$WORK/game" --new-roster >/dev/null
}

# screen NAME ROSTER SEED KEYS: the screen once the keys are used up.
screen() {
  build "$2"
  "$KESTRUN" --frontend headless --dir "$WORK/game" --seed "$3" --keys "$4" \
    --dump-png "$OUT/$1.png" 2>/dev/null
}

screen town spells 2 '1{Enter}'
screen training empty 1 '1{Enter}61Aldo{Enter}1111111'
screen camp spells 2 '1{Enter}7'
screen dungeon spells 2 '1{Enter}70n6'
screen map spells 2 '1{Enter}70n6V'
screen battle spells 2 '1{Enter}70n688k8 '
