# The window front end under a virtual X server: type a scenario letter, see
# the message, go back to the title, take a screenshot, press the close box;
# the dump written at exit shows the title again.
source "$(dirname "$0")/lib.sh"
XCLOSE="$(dirname "$KESTRUN")/tests/kestrun_xclose"
for tool in xvfb-run xdotool; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 77; }
done
[ -x "$XCLOSE" ] || { echo "SKIP: kestrun_xclose not built"; exit 77; }
[ -f /usr/share/unifont/unifont_jp.hex ] || { echo "SKIP: unifont missing"; exit 77; }

# The display libraries (D-Bus, Mesa) keep allocations until exit; only our
# own code is held to the leak check, by the unit tests.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

mkdir -p "$WORK/dir" "$WORK/start"
cat >"$WORK/session.sh" <<SESSION
set -euo pipefail
cd "$WORK/start"
"$KESTRUN" --frontend sdl --scale 1 --dir "$WORK/dir" --seed 3 --dump-screen "$WORK/end.txt" \
  --trace "$WORK/trace.txt" 2>"$WORK/game-stderr.txt" &
pid=\$!
find_window() { xdotool search --sync --onlyvisible --pid "\$pid" --name '^KESTRUN' | tail -n 1; }
wid=\$(find_window)
wait_for_waits() {
  for _ in \$(seq 1 100); do
    [ "\$(grep -c '^=== ' "$WORK/trace.txt" 2>/dev/null || echo 0)" -ge "\$1" ] && return 0
    sleep 0.1
  done
  echo "the game did not reach wait \$1" >&2
  return 1
}
wait_for_waits 1
xdotool windowfocus --sync "\$wid"
xdotool type --delay 50 Z
xdotool key Return
wait_for_waits 2
xdotool key a
wait_for_waits 3
xdotool key F12
for _ in \$(seq 1 100); do
  ls "$WORK/start"/kestrun-*.png >/dev/null 2>&1 && break
  sleep 0.1
done
kill -0 "\$pid" || echo "the game ended before the close box was pressed" >&2
"$XCLOSE" "\$(find_window)"
status=0
wait "\$pid" || status=\$?
echo "the game ended with status \$status" >&2
exit \$status
SESSION
# A display number of its own, so that parallel sessions do not meet.
if ! timeout 60 xvfb-run -a -n $((100 + $$ % 800)) -s "-screen 0 1280x1024x24" bash "$WORK/session.sh" >"$WORK/session.log" 2>&1; then
  cat "$WORK/session.log" >&2
  echo "game stderr:" >&2; cat "$WORK/game-stderr.txt" >&2 || true
  fail "the window session failed"
fi

grep -q "その名のシナリオはありません" "$WORK/trace.txt" || fail "the message never showed"
sed -n 3p "$WORK/end.txt" | grep -q "^                 ＶＡＲＮＨＯＬＤ$" || fail "the title is not back"
sed -n 12p "$WORK/end.txt" | grep -q "シナリオのファイル名は ?" || fail "the prompt is not back"
shots=("$WORK/start"/kestrun-*.png)
[ -f "${shots[0]}" ] || fail "F12 saved no screenshot in the starting directory"
[ "$(od -An -tx1 -j16 -N8 "${shots[0]}" | tr -d ' \n')" = "00000280000001b0" ] ||
  fail "the screenshot is not 640 x 432"
! ls "$WORK/dir"/kestrun-*.png >/dev/null 2>&1 || fail "the screenshot landed in the scenario folder"
