# SIGTERM and SIGHUP end the game as the close box does, with the status of
# a killed program (128 + the signal): headless while it writes its trace,
# and in the terminal while it waits for a key (restored afterwards).
source "$(dirname "$0")/lib.sh"
mkdir -p "$WORK/dir"

# Headless: the trace goes to a pipe that stops being read, so the game is
# caught in the middle of a long script; the signal arrives there, and the
# game ends at its next wait once the pipe is drained.
keys=""
for _ in $(seq 1 400); do keys+="Z{Enter}x"; done
headless_killed_by() {
  local signal="$1" expected="$2"
  rm -f "$WORK/trace.pipe"
  mkfifo "$WORK/trace.pipe"
  "$KESTRUN" --frontend headless --dir "$WORK/dir" --seed 1 --keys "$keys" \
    --trace "$WORK/trace.pipe" --dump-screen "$WORK/end-$signal.txt" 2>"$WORK/stderr-$signal.txt" &
  local pid=$!
  exec 3<"$WORK/trace.pipe"
  head -c 20000 <&3 >/dev/null
  kill -s "$signal" "$pid"
  cat <&3 >"$WORK/rest-$signal.txt"
  exec 3<&-
  local status=0
  wait "$pid" || status=$?
  [ "$status" = "$expected" ] || fail "headless $signal: status $status, not $expected"
  # Ended early, at a wait, and the exit dump was still written.
  [ "$(grep -c '^=== ' "$WORK/rest-$signal.txt")" -lt 2000 ] || fail "headless $signal: the script ran to its end"
  grep -q "ＶＡＲＮＨＯＬＤ\|シナリオ" "$WORK/end-$signal.txt" || fail "headless $signal: no exit dump"
}
headless_killed_by TERM 143
headless_killed_by HUP 129

# The game run to its end still ends with 0.
"$KESTRUN" --frontend headless --dir "$WORK/dir" --seed 1 --keys "Z{Enter}x" || fail "a normal end is not 0"

# The terminal, in tmux: a shell in the pane runs the game and notes its status.
command -v tmux >/dev/null || { echo "SKIP: tmux missing for the terminal part"; exit 0; }
socket="$WORK/tmux.sock"
trap 'tmux -S "$socket" kill-server 2>/dev/null || true; rm -rf "$WORK"' EXIT
tty_killed_by() {
  local signal="$1" expected="$2" session="signal-$1"
  rm -f "$WORK/shell" "$WORK/status"
  tmux -S "$socket" new-session -d -s "$session" -x 100 -y 30 \
    "echo \$\$ >'$WORK/shell'; LANG=C.UTF-8 '$KESTRUN' --frontend tty --dir '$WORK/dir' --seed 1; echo \$? >'$WORK/status'; sleep 30"
  for _ in $(seq 1 50); do
    tmux -S "$socket" capture-pane -p -t "$session" | grep -q "シナリオのファイル名は" && break
    sleep 0.1
  done
  local game
  game="$(pgrep -P "$(cat "$WORK/shell")")" || fail "terminal $signal: the game is not running"
  kill -s "$signal" "$game"
  for _ in $(seq 1 50); do
    [ -s "$WORK/status" ] && break
    sleep 0.1
  done
  [ "$(cat "$WORK/status" 2>/dev/null)" = "$expected" ] ||
    fail "terminal $signal: status $(cat "$WORK/status" 2>/dev/null), not $expected"
  # The terminal is back in its own mode: the alternate screen is left.
  [ "$(tmux -S "$socket" display-message -p -t "$session" '#{alternate_on}')" = 0 ] ||
    fail "terminal $signal: the alternate screen was not left"
  tmux -S "$socket" kill-session -t "$session"
}
tty_killed_by TERM 143
tty_killed_by HUP 129
