# Installing into a staging folder: the desktop entry, the metainfo and the
# man pages pass their tools, and the installed game keeps the characters of
# its read-only sample in the user's data folder, never in the sample.
source "$(dirname "$0")/lib.sh"
BUILD="$(dirname "$KESTRUN")"
for tool in cmake desktop-file-validate appstreamcli man; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

# Installing writes the build's install_manifest.txt, which `make uninstall`
# reads: the one of a real install is put back afterwards.
MANIFEST="$BUILD/install_manifest.txt"
[ ! -f "$MANIFEST" ] || cp "$MANIFEST" "$WORK/manifest.kept"
restore() {
  if [ -f "$WORK/manifest.kept" ]; then cp "$WORK/manifest.kept" "$MANIFEST"; else rm -f "$MANIFEST"; fi
  chmod -R u+w "$WORK"
  rm -rf "$WORK"
}
trap restore EXIT

PREFIX="$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$BUILD/CMakeCache.txt")"
DEST="$WORK/dest"
DESTDIR="$DEST" cmake --install "$BUILD" >/dev/null || fail "cmake --install"
ROOT="$DEST$PREFIX"
BIN="$ROOT/bin/kestrun"
SAMPLE="$PREFIX/share/kestrun/scenarios/sample"
ID=org.kestrun.kestrun
for file in bin/kestrun bin/kestrun-forge share/kestrun/scenarios/sample/1-S.DAT \
  share/kestrun/scenarios/sample/1-C.DAT share/applications/$ID.desktop \
  share/metainfo/$ID.metainfo.xml share/icons/hicolor/64x64/apps/$ID.png \
  share/icons/hicolor/128x128/apps/$ID.png share/icons/hicolor/scalable/apps/$ID.svg \
  share/man/man6/kestrun.6 share/man/man6/kestrun-forge.6; do
  [ -f "$ROOT/$file" ] || fail "not installed: $file"
done
[ -n "$(find "$ROOT" -path '*/lib/kestrun/sdl.so')" ] || fail "not installed: the window front end's module"
# The installed game finds its module: without a display the window cannot
# open, but the message comes from the front end, not from loading it.
set +e
DISPLAY=:none WAYLAND_DISPLAY= timeout 10 "$BIN" --frontend sdl --dir "$WORK" 2>"$WORK/sdl-errors"
set -e
! grep -q "cannot be loaded" "$WORK/sdl-errors" || fail "the installed game: $(cat "$WORK/sdl-errors")"

desktop-file-validate "$ROOT/share/applications/$ID.desktop" >&2 || fail "the desktop entry"
grep -qxF "Exec=\"$PREFIX/bin/kestrun\" --frontend sdl --dir \"$SAMPLE\"" \
  "$ROOT/share/applications/$ID.desktop" || fail "the desktop entry does not start the installed sample"
appstreamcli validate --no-net "$ROOT/share/metainfo/$ID.metainfo.xml" >"$WORK/appstream" || fail "the metainfo: $(cat "$WORK/appstream")"
for page in kestrun kestrun-forge; do
  MANWIDTH=80 man -l "$ROOT/share/man/man6/$page.6" >"$WORK/$page.txt" 2>"$WORK/man-errors"
  grep -q "^NAME" "$WORK/$page.txt" || fail "man -l $page.6 shows no NAME"
  ! grep -qi "warning" "$WORK/man-errors" || fail "man -l $page.6: $(cat "$WORK/man-errors")"
done
grep -q "WHERE THE CHARACTERS LIVE" "$WORK/kestrun.txt" || fail "the man page does not say where the characters live"

# play FOLDER KEYS: a session of the installed game with a data folder of the test's own.
play() {
  set +e
  HOME="$WORK/home" XDG_DATA_HOME="$WORK/data" "$BIN" --frontend headless --dir "$1" --seed 1 \
    --keys "$2" --dump-screen "$WORK/screen.txt" 2>"$WORK/errors"
  STATUS=$?
  set -e
}
# A fighter: name, good, male, human, every bonus point spent, registered,
# then out of the training grounds and saved with the town's 0.
BONUS="1111111110511111111107110"
CREATE="1{Enter}61Aria{Enter}111${BONUS}0Y{Enter}1{Enter}00"
# The training grounds' list of the characters of the roster.
LIST="1{Enter}62"

# tree_sums FOLDER: every file under FOLDER with its checksum.
tree_sums() {
  (cd "$1" && find . -type f -print0 | sort -z | xargs -0 sha256sum)
}

# Installed and made read-only: the characters go to the data folder.
chmod -R a-w "$DEST$SAMPLE"
tree_sums "$DEST$SAMPLE" >"$WORK/sample.before"
HOME="$WORK/home" XDG_DATA_HOME="$WORK/data" "$BIN" --dir "$DEST$SAMPLE" --help >"$WORK/help"
grep -qF "$WORK/data/kestrun/sample" "$WORK/help" || fail "--help does not name the save folder"
play "$DEST$SAMPLE" "$CREATE"
[ "$STATUS" = 0 ] || fail "creating a character: status $STATUS $(cat "$WORK/errors")"
[ -f "$WORK/data/kestrun/sample/1-C.DAT" ] || fail "no roster in the data folder"
play "$DEST$SAMPLE" "$LIST"
[ "$STATUS" = 0 ] || fail "the second start: status $STATUS"
grep -q "1 Aria" "$WORK/screen.txt" || fail "the character did not survive the restart"
tree_sums "$DEST$SAMPLE" | diff -u "$WORK/sample.before" - >&2 || fail "the installed sample changed"

# A read-only folder of the same name elsewhere has a save folder of its
# own and does not see Aria; a read-only folder that is not installed uses
# the data folder too (also for users the system lets write anywhere).
cp -r "$DEST$SAMPLE" "$WORK/other-sample" && mkdir "$WORK/copy" && mv "$WORK/other-sample" "$WORK/copy/sample"
chmod -R u+w "$WORK/copy/sample" && rm "$WORK/copy/sample/installed-scenario" && chmod -R a-w "$WORK/copy/sample"
play "$WORK/copy/sample" "$LIST"
[ "$STATUS" = 0 ] || fail "the other sample: status $STATUS"
! grep -q "Aria" "$WORK/screen.txt" || fail "another folder named sample sees the installed sample's characters"
[ "$(find "$WORK/data/kestrun" -maxdepth 1 -name 'sample-*' | wc -l)" = 1 ] || fail "no save folder of its own"

# A writable folder keeps its roster, as when playing from the build.
chmod -R u+w "$WORK/copy/sample"
play "$WORK/copy/sample" "$CREATE"
[ "$STATUS" = 0 ] || fail "the writable folder: status $STATUS"
cmp -s "$WORK/copy/sample/1-C.DAT" "$DEST$SAMPLE/1-C.DAT" && fail "the writable folder's roster was not saved"

# As root, also a folder that only its owner may write, played by an
# ordinary user: the system's own refusal sends the roster away too.
if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null && id nobody >/dev/null 2>&1; then
  chmod 755 "$WORK" && mkdir -m 755 "$WORK/owned" && cp -r "$DEST$SAMPLE" "$WORK/owned/"
  chmod -R u+w,go-w "$WORK/owned" && rm "$WORK/owned/sample/installed-scenario"
  mkdir "$WORK/nobody" && chown nobody "$WORK/nobody"
  tree_sums "$WORK/owned/sample" >"$WORK/owned.before"
  for keys in "$CREATE" "$LIST"; do
    setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups env HOME="$WORK/nobody" \
      XDG_DATA_HOME= "$BIN" --frontend headless --dir "$WORK/owned/sample" --seed 1 --keys "$keys" \
      --dump-screen "$WORK/nobody/screen.txt" || fail "an ordinary user's session"
  done
  grep -q "1 Aria" "$WORK/nobody/screen.txt" || fail "an ordinary user's character did not survive"
  [ -f "$WORK/nobody/.local/share/kestrun/sample/1-C.DAT" ] || fail "no roster in the user's data folder"
  tree_sums "$WORK/owned/sample" | diff -u "$WORK/owned.before" - >&2 || fail "the owner's folder changed"
fi

# No place for the characters: one line on standard error, status 1.
touch "$WORK/file"
set +e
HOME="$WORK/home" XDG_DATA_HOME="$WORK/file/data" "$BIN" --frontend headless --dir "$DEST$SAMPLE" \
  --keys "$LIST" 2>"$WORK/errors"
STATUS=$?
set -e
[ "$STATUS" = 1 ] || fail "no save folder: status $STATUS"
[ "$(wc -l <"$WORK/errors")" = 1 ] || fail "no save folder: $(cat "$WORK/errors")"

# A relative XDG_DATA_HOME is ignored: the folder under HOME is used.
HOME="$WORK/home" XDG_DATA_HOME="relative" "$BIN" --dir "$DEST$SAMPLE" --help >"$WORK/help"
grep -qF "$WORK/home/.local/share/kestrun/sample" "$WORK/help" || fail "a relative XDG_DATA_HOME was used"

# Uninstalling removes every installed file and the sample's folders.
chmod -R u+w "$DEST"
DESTDIR="$DEST" cmake -DMANIFEST="$MANIFEST" -P "$TESTS/../data/uninstall.cmake" >/dev/null || fail "uninstall"
[ -z "$(find "$DEST" -type f)" ] || fail "left after uninstalling: $(find "$DEST" -type f)"
[ ! -e "$ROOT/share/kestrun" ] || fail "the sample's folder is left after uninstalling"
[ -z "$(find "$ROOT" -path '*/lib/kestrun')" ] || fail "the module's folder is left after uninstalling"
