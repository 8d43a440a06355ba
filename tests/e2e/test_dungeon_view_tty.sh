# The wire-frame view in an 80 x 24 terminal (tmux): the walls and the door
# ahead are unbroken lines, a dark square is black inside a thin outline.
source "$(dirname "$0")/lib.sh"
command -v tmux >/dev/null || { echo "SKIP: tmux missing"; exit 77; }
FORGE="$(dirname "$KESTRUN")/kestrun-forge"
[ -x "$FORGE" ] || { echo "SKIP: kestrun-forge not built"; exit 77; }
export LC_ALL=C.UTF-8

socket="$WORK/tmux.sock"
cleanup() { tmux -S "$socket" kill-server 2>/dev/null || true; rm -rf "$WORK"; }
trap cleanup EXIT

# shows NAME KEYS: the terminal once the typed-ahead keys are used up (the
# session stays waiting for the next key until it is closed).
shows() {
  rm -rf "$WORK/game"
  "$FORGE" build "$TESTS/data/view" "$WORK/game" --new-roster >/dev/null || fail "forge build"
  tmux -S "$socket" new-session -d -s "$1" -x 80 -y 24 \
    "'$KESTRUN' --frontend tty --dir '$WORK/game' --seed 1 --keys '$2'"
  # The keys are used up once the picture stops changing.
  : >"$WORK/$1.txt"
  for _ in $(seq 1 100); do
    sleep 0.2
    tmux -S "$socket" capture-pane -p -t "$1" >"$WORK/$1.next"
    if grep -q "Aldo" "$WORK/$1.next" && cmp -s "$WORK/$1.next" "$WORK/$1.txt"; then break; fi
    mv "$WORK/$1.next" "$WORK/$1.txt"
  done
  tmux -S "$socket" kill-session -t "$1"
}

# cell NAME COLUMN ROW: the character the terminal shows there.
cell() {
  local line
  line="$(sed -n "$(($3 + 1))p" "$WORK/$1.txt")"
  printf '%s' "${line:$2:1}"
}

is_braille() {
  case "$1" in [⠁-⣿]) return 0 ;; *) return 1 ;; esac
}

# A door ahead: the wall box's edges at columns 22 and 58, the door's at 28
# and 52, its inside blank.
shows door 'V{Enter}80888'
for row in $(seq 7 14); do
  for column in 22 28 52 58; do
    is_braille "$(cell door "$column" "$row")" || fail "door: no line at column $column, row $row"
  done
  [ "$(cell door 40 "$row")" = " " ] || fail "door: the door is not empty at row $row"
done

# Through the door the dark square ahead fills the wall box: in the cells
# its inside is black, not a field of dots, and its edges are thin lines.
shows dark 'V{Enter}80888K'
for row in $(seq 6 14); do
  for column in 23 40 56; do
    [ "$(cell dark "$column" "$row")" = " " ] || fail "dark: dots inside at column $column, row $row"
  done
  for column in 22 57; do
    is_braille "$(cell dark "$column" "$row")" || fail "dark: no edge at column $column, row $row"
  done
done
