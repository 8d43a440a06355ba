# kestrun-forge web: the page's folder from a source and from built files,
# and its refusals (no web build beside the forge, a scenario or roster that
# is not there, a page folder overlapping the files), each leaving what was
# published before as it was.
source "$(dirname "$0")/lib.sh"
FORGE="$(dirname "$KESTRUN")/kestrun-forge"
[ -x "$FORGE" ] || { echo "SKIP: kestrun-forge not built"; exit 77; }
SAMPLE="$TESTS/../scenarios/sample"

# A forge without a web build beside it says what to do.
mkdir -p "$WORK/alone"
cp "$FORGE" "$WORK/alone/kestrun-forge"
set +e
"$WORK/alone/kestrun-forge" web "$SAMPLE" "$WORK/nowhere" 2>"$WORK/err.txt"
STATUS=$?
set -e
[ "$STATUS" = 1 ] || fail "no web build: status $STATUS"
grep -q "no web build of the game beside this kestrun-forge" "$WORK/err.txt" || fail "$(cat "$WORK/err.txt")"
[ ! -e "$WORK/nowhere" ] || fail "a folder was written without a web build"

[ -f "$(dirname "$FORGE")/web/page/kestrun.wasm" ] || { echo "SKIP: no web build (make web)"; exit 77; }

"$FORGE" web "$SAMPLE" "$WORK/page" >/dev/null || fail "web from the source"
for file in index.html page.js page.css kestrun.js kestrun.wasm scenario.json scenario/1-S.DAT \
  scenario/1-C.DAT scenario/1-1F.DAT scenario/1M.BMP; do
  [ -f "$WORK/page/$file" ] || fail "the page has no $file"
done
grep -q '"letter":"1","title":"霧鐘の地下水路"' "$WORK/page/scenario.json" || fail "$(cat "$WORK/page/scenario.json")"
listed="$(grep -o '"files":\[.*\]' "$WORK/page/scenario.json" | grep -o '"[^"]*"' | sed 1d | tr -d '"' | sort)"
[ "$listed" = "$(ls "$WORK/page/scenario" | sort)" ] || fail "scenario.json does not list the scenario's files"

# From built files: the scenario's own files and the shared pictures, not a
# save in progress nor another scenario's files.
"$FORGE" build "$SAMPLE" "$WORK/built" --new-roster >/dev/null
touch "$WORK/built/1-C.DAT.NEW" "$WORK/built/2-S.DAT"
"$FORGE" web "$WORK/built" 1 "$WORK/page2" >/dev/null || fail "web from built files"
[ ! -e "$WORK/page2/scenario/1-C.DAT.NEW" ] || fail "a save in progress was published"
[ ! -e "$WORK/page2/scenario/2-S.DAT" ] || fail "another scenario's file was published"
cmp -s "$WORK/built/1-C.DAT" "$WORK/page2/scenario/1-C.DAT" || fail "the roster was not published as it is"

# Refusals keep the published page.
refused() {
  local expected="$1"
  shift
  set +e
  "$FORGE" web "$@" 2>"$WORK/err.txt"
  STATUS=$?
  set -e
  [ "$STATUS" = 1 ] || fail "$*: status $STATUS"
  grep -q "$expected" "$WORK/err.txt" || fail "$*: $(cat "$WORK/err.txt")"
  [ -f "$WORK/page2/scenario/1-S.DAT" ] || fail "$*: the published scenario was removed"
}
refused "no scenario 3" "$WORK/built" 3 "$WORK/page2"
rm "$WORK/built/1-C.DAT"
refused "has no roster" "$WORK/built" 1 "$WORK/page2"
refused "overlap" "$WORK/page2/scenario" 1 "$WORK/page2"
