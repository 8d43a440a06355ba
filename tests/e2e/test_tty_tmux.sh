# The terminal front end in tmux: the title at its columns, then the message
# for an unknown scenario; on a light-themed terminal the game paints its own
# black background.
source "$(dirname "$0")/lib.sh"
command -v tmux >/dev/null || { echo "SKIP: tmux missing"; exit 77; }

session="kestrun-e2e-$$"
socket="$WORK/tmux.sock"
mkdir -p "$WORK/dir"
cleanup() { tmux -S "$socket" kill-server 2>/dev/null || true; rm -rf "$WORK"; }
trap cleanup EXIT

tmux -S "$socket" new-session -d -s "$session" -x 100 -y 30 \
  "env LANG=C.UTF-8 '$KESTRUN' --frontend tty --dir '$WORK/dir' --seed 1"

capture_until() {
  for _ in $(seq 1 50); do
    tmux -S "$socket" capture-pane -p -t "$session" >"$WORK/pane.txt"
    grep -q "$1" "$WORK/pane.txt" && return 0
    sleep 0.1
  done
  cat "$WORK/pane.txt" >&2
  fail "never saw: $1"
}

capture_until "シナリオのファイル名は"
# A light theme: the pane's own background is white. Every cell of the game
# names black (40), never the terminal's default background (49).
tmux -S "$socket" set -g window-style 'bg=white'
tmux -S "$socket" capture-pane -p -e -t "$session" >"$WORK/pane-colours.txt"
grep -q $'\e\\[40m' "$WORK/pane-colours.txt" || fail "no black background sent"
! grep -q $'\e\\[49m' "$WORK/pane-colours.txt" || fail "cells left on the terminal's background"
sed -n 3p "$WORK/pane.txt" | grep -q "^                 ＶＡＲＮＨＯＬＤ" || fail "title not at column 17, row 2"
sed -n 7p "$WORK/pane.txt" | grep -q "^                                  for WINDOWS 95" ||
  fail "\"for WINDOWS 95\" not at column 34, row 6"
sed -n 4p "$WORK/pane.txt" | grep -q "^ \{63\}Ver. 3.1F" || fail "version not at column 63, row 3"
sed -n 12p "$WORK/pane.txt" | grep -q "^ \{24\}シナリオのファイル名は ?" || fail "prompt not at column 24, row 11"

tmux -S "$socket" send-keys -t "$session" Z Enter
capture_until "その名のシナリオはありません"
sed -n 16p "$WORK/pane.txt" | grep -q "^ \{33\}Hit Any Key" || fail "Hit Any Key not at column 33, row 15"
tmux -S "$socket" send-keys -t "$session" x
capture_until "ＶＡＲＮＨＯＬＤ"

# Too small a terminal: the notice in both languages, and the keys typed
# meanwhile are dropped; enlarged, the game shows its title untouched.
tmux -S "$socket" new-session -d -s small -x 60 -y 20 \
  "env LANG=C.UTF-8 '$KESTRUN' --frontend tty --dir '$WORK/dir' --seed 1"
session=small
capture_until "Please enlarge the terminal to 80 x 24"
grep -q "端末を 80 x 24 以上に広げてください" "$WORK/pane.txt" || fail "no Japanese notice"
tmux -S "$socket" send-keys -t small Z Enter
sleep 0.3
tmux -S "$socket" resize-window -t small -x 100 -y 30
capture_until "シナリオのファイル名は"
sleep 0.3
tmux -S "$socket" capture-pane -p -t small >"$WORK/pane.txt"
! grep -q "その名のシナリオはありません" "$WORK/pane.txt" || fail "a key typed behind the notice was acted on"
sed -n 12p "$WORK/pane.txt" | grep -q "シナリオのファイル名は ? *$" || fail "the typed Z reached the prompt"
