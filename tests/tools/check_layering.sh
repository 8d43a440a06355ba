# Fails when a layer includes one above it: the runtime and the front ends know
# nothing of the game or of the program's start, the runtime nothing of the
# front ends, and the game nothing of the front ends or the program's start.
# $1 is the source folder (src). Prints every offending include.
set -uo pipefail
src="$1"
found=0

forbid() {
  local layer="$1" why="$2"
  shift 2
  local targets
  targets="$(IFS='|'; echo "$*")"
  local hits
  hits="$(grep -rnE "^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"](\.\./)*($targets)/" \
    "$src/$layer" --include='*.h' --include='*.cpp')"
  if [ -n "$hits" ]; then
    echo "$hits" | sed "s|^|layering: $why: |"
    found=1
  fi
}

forbid runtime "the runtime includes a layer above it" game app frontends
forbid frontends "a front end includes the game or the program's start" game app
forbid game "the game includes a front end or the program's start" frontends app

[ "$found" = 0 ] && echo "layering: every include goes down"
exit "$found"
