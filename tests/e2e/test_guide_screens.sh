# The player's guide shows the game's own screens: they are made again by
# scripts/guide-screens.sh and must be, pixel for pixel, the pictures the
# guide has. A screen that changed without the guide fails here: run the
# script, look at the pictures and the text around them, commit both.
source "$(dirname "$0")/lib.sh"
FORGE="$(dirname "$KESTRUN")/kestrun-forge"
SAME="$(dirname "$KESTRUN")/tests/kestrun_pngsame"
[ -x "$FORGE" ] || { echo "SKIP: kestrun-forge not built"; exit 77; }
[ -x "$SAME" ] || { echo "SKIP: kestrun_pngsame not built"; exit 77; }
GUIDE="$TESTS/../docs/playing"

bash "$TESTS/../scripts/guide-screens.sh" "$KESTRUN" "$FORGE" "$WORK/screens" ||
  fail "the guide's sessions failed"
for made in "$WORK/screens"/*.png; do
  name="$(basename "$made")"
  [ -f "$GUIDE/$name" ] || fail "docs/playing/$name is missing (run scripts/guide-screens.sh)"
  "$SAME" "$made" "$GUIDE/$name" ||
    fail "docs/playing/$name is not the game's screen any more (run scripts/guide-screens.sh)"
  grep -q "(playing/$name)" "$TESTS/../docs/playing.md" || fail "the guide does not show $name"
done
for kept in "$GUIDE"/*.png; do
  [ -f "$WORK/screens/$(basename "$kept")" ] || fail "docs/playing/$(basename "$kept") is made by no session"
done
