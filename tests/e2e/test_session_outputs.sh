# What a session writes on request: a picture per trace frame, files where the
# user's relative paths point, and status 2 with one line when a file cannot be
# written.
source "$(dirname "$0")/lib.sh"
FORGE="$(dirname "$KESTRUN")/kestrun-forge"
"$FORGE" build "$TESTS/data/town" "$WORK/dir" --new-roster >/dev/null

frame_count() { grep -c '^=== ' "$1"; }
png_size() { od -An -tx1 -j16 -N8 "$1" | tr -d ' \n'; }

# One 640 x 432 picture per trace frame, numbered as the trace numbers them.
run_headless "2{Enter}9x" --trace "$WORK/town.trace" --trace-png "$WORK/frames"
[ "$STATUS" = 0 ] || fail "trace-png session status $STATUS"
frames="$(frame_count "$WORK/town.trace")"
[ "$frames" -ge 4 ] || fail "only $frames frames"
[ "$(ls "$WORK/frames" | wc -l)" = "$frames" ] || fail "not one picture per frame"
for n in $(seq 1 "$frames"); do
  [ "$(png_size "$WORK/frames/$n.png")" = "00000280000001b0" ] || fail "$n.png is not 640 x 432"
done
cmp -s "$WORK/frames/1.png" "$WORK/frames/2.png" && fail "the title and the town menu look the same"

# Without --trace the pictures are the same, and the folder is made when missing.
run_headless "2{Enter}9x" --trace-png "$WORK/new/frames"
for n in $(seq 1 "$frames"); do
  cmp -s "$WORK/frames/$n.png" "$WORK/new/frames/$n.png" || fail "$n.png differs without --trace"
done
[ ! -e "$WORK/new/frames/$((frames + 1)).png" ] || fail "more pictures than frames"

# The title frame's picture is the picture --dump-png writes at exit.
run_headless "" --trace-png "$WORK/title-frames" --dump-png "$WORK/title.png"
[ "$(ls "$WORK/title-frames")" = 1.png ] || fail "the title session has other frames"
cmp -s "$WORK/title-frames/1.png" "$WORK/title.png" || fail "the title frame differs from --dump-png"

# Relative paths belong to the directory the program was started in.
mkdir -p "$WORK/start"
printf '2\n9x' >"$WORK/start/keys"
(
  cd "$WORK/start"
  "$KESTRUN" --frontend headless --dir ../dir --seed 1 --keys-file keys --dump-screen end.txt \
    --dump-png end.png --trace t.trace --trace-png pictures
) || fail "relative paths session failed"
for made in end.txt end.png t.trace pictures/1.png; do
  [ -e "$WORK/start/$made" ] || fail "$made is not in the starting directory"
  [ ! -e "$WORK/dir/$made" ] || fail "$made landed in the scenario folder"
done
cmp -s "$WORK/start/t.trace" "$WORK/town.trace" || fail "the keys file was not typed"

# A file that cannot be written ends the session with status 2 and one line.
expect_output_failure() {
  local what="$1"
  shift
  set +e
  "$KESTRUN" --frontend headless --dir "$WORK/dir" --seed 1 --keys "2{Enter}9x" "$@" \
    2>"$WORK/err"
  local status=$?
  set -e
  [ "$status" = 2 ] || fail "$what: status $status"
  [ "$(wc -l <"$WORK/err")" = 1 ] || fail "$what: not one line: $(cat "$WORK/err")"
  grep -q "^kestrun: " "$WORK/err" || fail "$what: $(cat "$WORK/err")"
}
expect_output_failure "screen dump" --dump-screen "$WORK/missing/end.txt"
grep -qx "kestrun: cannot write $WORK/missing/end.txt" "$WORK/err" || fail "dump: $(cat "$WORK/err")"
expect_output_failure "picture dump" --dump-png "$WORK/missing/end.png"
expect_output_failure "trace" --trace "$WORK/missing/t.trace"
expect_output_failure "full disk" --trace /dev/full
touch "$WORK/a-file"
expect_output_failure "picture folder" --trace-png "$WORK/a-file"
mkdir -p "$WORK/blocked/3.png"
expect_output_failure "one picture" --trace-png "$WORK/blocked"
grep -q "cannot write $WORK/blocked/3.png" "$WORK/err" || fail "picture 3: $(cat "$WORK/err")"
# The other dumps are still written.
expect_output_failure "dump after a failed picture" --trace-png "$WORK/blocked" \
  --dump-screen "$WORK/after.txt"
[ -s "$WORK/after.txt" ] || fail "the screen dump was not written after the failure"
