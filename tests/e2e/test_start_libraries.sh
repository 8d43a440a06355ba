# Headless and terminal sessions never load SDL or the window system: the
# window front end is a module loaded only when it is chosen, and a game
# without that module says so instead of failing obscurely.
source "$(dirname "$0")/lib.sh"
BUILD="$(dirname "$KESTRUN")"
[ -f "$BUILD/lib/kestrun/sdl.so" ] || fail "the window front end's module is not beside the program"

# loaded_libraries COMMAND...: the shared libraries the command loaded (the
# loader itself among them), one a line; a sanitizer build's own runtimes
# are not counted.
loaded_libraries() {
  LD_DEBUG=libs "$@" 2>&1 >/dev/null | sed -n 's/.*calling init: //p' |
    grep -Ev '/lib(asan|ubsan|lsan|tsan)\.so' | sort -u
}
window_libraries='SDL|X11|xcb|wayland|GL|drm|pulse|asound|dbus'

loaded_libraries "$KESTRUN" --version >"$WORK/version.txt"
[ -s "$WORK/version.txt" ] || fail "LD_DEBUG listed no libraries"
! grep -Eqi "$window_libraries" "$WORK/version.txt" || fail "--version loads: $(tr '\n' ' ' <"$WORK/version.txt")"
[ "$(wc -l <"$WORK/version.txt")" -le 6 ] || fail "--version loads $(wc -l <"$WORK/version.txt") libraries: $(tr '\n' ' ' <"$WORK/version.txt")"

mkdir -p "$WORK/dir"
loaded_libraries "$KESTRUN" --frontend headless --dir "$WORK/dir" --seed 1 --keys "" \
  --dump-png "$WORK/title.png" >"$WORK/headless.txt"
[ -s "$WORK/title.png" ] || fail "the headless session wrote no picture"
! grep -Eqi "$window_libraries" "$WORK/headless.txt" || fail "a headless session loads: $(tr '\n' ' ' <"$WORK/headless.txt")"

# The program alone, without its module: the window cannot open, and says why.
cp "$KESTRUN" "$WORK/kestrun"
set +e
DISPLAY=:99 "$WORK/kestrun" --frontend sdl --dir "$WORK/dir" 2>"$WORK/errors"
STATUS=$?
set -e
[ "$STATUS" = 2 ] || fail "without its module the window front end ended with $STATUS"
grep -q "the window front end cannot be loaded" "$WORK/errors" || fail "no clear message: $(cat "$WORK/errors")"
