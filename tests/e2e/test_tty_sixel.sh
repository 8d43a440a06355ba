# The terminal's pictures as sixel images, in a real xterm (VT340 mode) on a
# virtual X server: the game asks the terminal, finds sixel, and draws the
# view through the door and the dark square behind it. The terminal's pixels
# are compared with the game's own picture (the headless --dump-png of the
# same keys) over the view. The font makes cells larger than the game's
# 8 x 18; the game scales its images to them, and the comparison traces every
# terminal pixel back to the game pixel it shows (kestrun_termcompare).
source "$(dirname "$0")/lib.sh"
for tool in xvfb-run xterm xdotool; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 77; }
done
COMPARE="$(dirname "$KESTRUN")/tests/kestrun_termcompare"
FORGE="$(dirname "$KESTRUN")/kestrun-forge"
[ -x "$COMPARE" ] || { echo "SKIP: kestrun_termcompare not built"; exit 77; }
[ -x "$FORGE" ] || { echo "SKIP: kestrun-forge not built"; exit 77; }
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

KEYS='V{Enter}80888K'
"$FORGE" build "$TESTS/data/view" "$WORK/window" --new-roster >/dev/null || fail "forge build"
cp -r "$WORK/window" "$WORK/terminal"
"$KESTRUN" --frontend headless --dir "$WORK/window" --seed 1 --keys "$KEYS" \
  --dump-png "$WORK/window.png" --trace "$WORK/window-trace.txt" || fail "headless session"
frames="$(grep -c '^=== ' "$WORK/window-trace.txt")"

cat >"$WORK/game.sh" <<GAME
LANG=C.UTF-8 exec "$KESTRUN" --frontend tty --tty-graphics "\$1" --dir "$WORK/terminal" --seed 1 \
  --keys "$KEYS" --trace "$WORK/terminal-trace-\$1.txt" 2>"$WORK/game-stderr.txt"
GAME
cat >"$WORK/session.sh" <<SESSION
set -euo pipefail
for mode in auto cells; do
  rm -rf "$WORK/terminal"; cp -r "$WORK/window" "$WORK/terminal"
  xterm -ti vt340 -fa "DejaVu Sans Mono" -fs 11 -geometry 80x25+0+0 -b 2 -e bash "$WORK/game.sh" \$mode &
  xterm=\$!
  wid=\$(xdotool search --sync --onlyvisible --pid "\$xterm" | tail -n 1)
  # The session has drawn its last screen once the trace has the window's frames
  # (one more: the wait for a key after the script's last key).
  for _ in \$(seq 1 200); do
    [ "\$(grep -c '^=== ' "$WORK/terminal-trace-\$mode.txt" 2>/dev/null || echo 0)" -gt "$frames" ] && break
    sleep 0.1
  done
  sleep 1
  "$COMPARE" "\$wid" 80 25 2 "$WORK/window.png" 160 54 480 270 "$WORK/shot-\$mode.ppm" \
    >"$WORK/compare-\$mode.txt" || true
  kill "\$xterm"
  wait "\$xterm" || true
done
SESSION
timeout 280 xvfb-run -a -n $((100 + $$ % 800)) -s "-screen 0 1024x768x24" bash "$WORK/session.sh" \
  >"$WORK/session.log" 2>&1 || { cat "$WORK/session.log" >&2; fail "the xterm session failed"; }
cat "$WORK/compare-auto.txt"
grep -q " 0 of [1-9][0-9]* pixels differ" "$WORK/compare-auto.txt" ||
  fail "the sixel view differs from the window's: $(cat "$WORK/compare-auto.txt")"
# The cell drawing, for contrast, is far from the window's pixels.
grep -q " 0 of " "$WORK/compare-cells.txt" && fail "the cell drawing matched the window's pixels"
[ -z "${KEEP_SHOTS:-}" ] || cp "$WORK"/shot-*.ppm "$KEEP_SHOTS"
