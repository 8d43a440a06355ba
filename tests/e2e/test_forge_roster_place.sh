# kestrun-forge roster DIR LETTER reads the roster where the game keeps it:
# in the folder when the player may write it, in the user's data folder for
# a read-only one (until the game has saved there, still the folder's own),
# and shows the characters' spell points.
source "$(dirname "$0")/lib.sh"
FORGE="$(dirname "$KESTRUN")/kestrun-forge"
SOURCE="$TESTS/data/forge-basic"

cp -r "$SOURCE" "$WORK/empty-src"
rm "$WORK/empty-src/roster.toml"
"$FORGE" build "$WORK/empty-src" "$WORK/games/basic" >/dev/null
"$FORGE" build "$SOURCE" "$WORK/full" >/dev/null

# A writable folder: its own roster, with the spell points by level.
"$FORGE" roster "$WORK/full" T >"$WORK/own.txt" || fail "roster of a writable folder"
grep -q "^roster T-C.DAT of " "$WORK/own.txt" && ! grep -q "^kept in" "$WORK/own.txt" ||
  fail "not the folder's roster: $(head -2 "$WORK/own.txt")"
grep -q "magic spell points: 2/2 1/2 0/0 0/0 0/0 0/0 0/0 (levels 1 to 7)" "$WORK/own.txt" ||
  fail "no spell points: $(cat "$WORK/own.txt")"

# A read-only folder whose characters the game keeps in the data folder.
chmod -R a-w "$WORK/games/basic"
export XDG_DATA_HOME="$WORK/data"
"$FORGE" roster "$WORK/games/basic" T >"$WORK/before.txt" || fail "roster before any save"
! grep -q "^kept in" "$WORK/before.txt" ||
  fail "before any save the folder's roster is the one: $(head -2 "$WORK/before.txt")"
mkdir -p "$WORK/data/kestrun/basic"
printf '%s\n' "$WORK/games/basic" >"$WORK/data/kestrun/basic/scenario-folder"
cp "$WORK/full/T-C.DAT" "$WORK/data/kestrun/basic/"
"$FORGE" roster "$WORK/games/basic" T >"$WORK/kept.txt" || fail "roster of a read-only folder"
grep -q "^kept in $WORK/data/kestrun/basic$" "$WORK/kept.txt" ||
  fail "the data folder's roster was not read: $(head -2 "$WORK/kept.txt")"
grep -q "Aldo" "$WORK/kept.txt" || fail "the kept characters are not shown"
chmod -R u+w "$WORK/games"
