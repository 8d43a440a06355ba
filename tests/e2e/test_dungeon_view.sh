# The wire-frame view and the map as the player meets them on a small floor:
# a corridor to a door, a dark square, a passage open only looking east, a
# light whose caster has fallen, and the way west across the floor's edge.
# Pictures are checked at the places where the view draws its walls.
source "$(dirname "$0")/lib.sh"
FORGE="$(dirname "$KESTRUN")/kestrun-forge"
PIXELS="$(dirname "$KESTRUN")/tests/kestrun_pngpixels"
[ -x "$FORGE" ] || { echo "SKIP: kestrun-forge not built"; exit 77; }
[ -x "$PIXELS" ] || { echo "SKIP: kestrun_pngpixels not built"; exit 77; }

WHITE=FFFFFF
BLACK=000000
GREY=808080
CYAN=00FFFF

# The party resumes at (1, 1) facing north, and leaves the camp at once.
RESUME='V{Enter}80'

# play NAME KEYS: a session on a fresh copy of the floor; the picture and
# the screen at its last wait are kept as NAME.png and NAME.txt.
play() {
  rm -rf "$WORK/game"
  "$FORGE" build "$TESTS/data/view" "$WORK/game" --new-roster >/dev/null || fail "forge build"
  set +e
  "$KESTRUN" --frontend headless --dir "$WORK/game" --seed 1 --keys "$2" \
    --dump-png "$WORK/$1.png" --dump-screen "$WORK/$1.txt" "${@:3}"
  local status=$?
  set -e
  [ "$status" = 0 ] || fail "$1: exit status $status"
}

# expect NAME COLOUR X,Y...: every point of the picture has that colour.
expect() {
  local name="$1" colour="$2"
  shift 2
  local point
  for point in "$@"; do
    local seen
    seen="$("$PIXELS" "$WORK/$name.png" "$point" | cut -d' ' -f2)"
    [ "$seen" = "$colour" ] || fail "$name: ($point) is $seen, not $colour"
  done
}

# Nothing ahead but the corridor; the left neighbour's front wall whole, the
# right one's inner half, and no third depth: the fallen elf neither sees
# nor keeps her light.
play start "$RESUME"
expect start $WHITE 100,71 100,359 5,200 176,200 430,143 392,200 430,287 464,200
expect start $BLACK 300,71 500,143 284,200 302,215
[ "$(head -1 "$WORK/start.txt")" = "" ] || fail "start: a label on row 0: $(head -1 "$WORK/start.txt")"

# A door directly ahead: its wall box and door box, nothing deeper.
play door "${RESUME}888"
expect door $WHITE 300,71 300,359 224,200 416,200 300,119
expect door $BLACK 300,143 248,200 300,200

# Through the door: the dark square ahead is one grey box.
play dark "${RESUME}888K"
expect dark $GREY 177,72 300,200 463,358
expect dark $BLACK 300,71
expect dark $WHITE 550,71 635,200

# Standing on it without light, the whole view inside the frame is grey.
play ondark "${RESUME}888K8"
expect ondark $GREY 6,18 633,412 6,412 633,18 320,200 175,70 465,360
expect ondark $WHITE 5,17 634,413

# Open looking east, a wall looking back west.
play east "${RESUME}888K6"
expect east $BLACK 300,71
expect east $WHITE 300,143
play west "${RESUME}888K682"
expect west $WHITE 300,71 300,359
expect west $BLACK 300,143

# The map of the squares seen: the one-way edge is open on the west square's
# side only; the party at (2, 5).
play map "${RESUME}888K682V"
expect map $BLACK 50,293
expect map $WHITE 51,293 43,369
expect map $CYAN 59,297

# West across the floor's edge: from (0, 1) the square beyond is (19, 1),
# whose west side is a door.
play wrap "${RESUME}48"
expect wrap $BLACK 300,71
expect wrap $WHITE 272,200 300,167 300,143
play wrapped "${RESUME}488"
expect wrapped $WHITE 224,200 300,119
play wrapmap "${RESUME}488V"
expect wrapmap $BLACK 338,365 19,365
expect wrapmap $WHITE 323,365 325,365 324,363

# The whole walk, pauses included.
play walk "${RESUME}888K682Vx" --trace "$WORK/walk.trace"
check_golden "$WORK/walk.trace" dungeon-view-walk.trace
play wrapwalk "${RESUME}488Vx" --trace "$WORK/wrap.trace"
check_golden "$WORK/wrap.trace" dungeon-view-wrap.trace
