# Shared by the battle sessions: the bundled scenario with the party of
# tests/data/battle (saved in floor 1's bell chamber, whose squares are
# battle squares), played with a seed and a key script. The session's
# trace is cut down to the text of its frames (no colour rows, no blank
# lines) and compared with its golden copy, so every battle message and
# the pause after it can be read back.
FORGE="$(dirname "$KESTRUN")/kestrun-forge"
[ -x "$FORGE" ] || { echo "SKIP: kestrun-forge not built"; exit 77; }
SAMPLE="$TESTS/../scenarios/sample"

# The keys from the title to the first battle: the scenario, the saved
# party resumed, out of the camp; the party stands on a battle square.
INTO_BATTLE='1{Enter}80'

# battle_session SEED KEYS NAME [ROSTER-DIR]: plays the session and checks
# $WORK/NAME, the text of its trace, against the golden file NAME. A sed
# script in SCENARIO_EDIT (run on the whole file at once) changes the
# scenario first.
battle_session() {
  local seed="$1" keys="$2" name="$3" roster="${4:-battle}"
  rm -rf "$WORK/src" "$WORK/game"
  cp -r "$SAMPLE" "$WORK/src"
  cp "$TESTS/data/$roster/roster.toml" "$WORK/src/"
  [ -z "${SCENARIO_EDIT:-}" ] || sed -z -i "$SCENARIO_EDIT" "$WORK/src/scenario.toml"
  "$FORGE" build "$WORK/src" "$WORK/game" --new-roster >/dev/null || fail "forge build"
  set +e
  "$KESTRUN" --frontend headless --dir "$WORK/game" --seed "$seed" --keys "$keys" \
    --trace "$WORK/trace.txt" "${@:5}"
  STATUS=$?
  set -e
  [ "$STATUS" = 0 ] || fail "$name: exit status $STATUS"
  trace_text "$WORK/trace.txt" >"$WORK/$name"
  check_golden "$WORK/$name" "$name"
}

# The text rows of a trace: the frame headers and every non-blank text
# line, without the colour rows that follow each frame's text.
trace_text() {
  awk '/^=== / { text = 1; print; next }
       /^--$/ { text = 0; next }
       text && $0 !~ /^ *$/ { print }' "$1"
}
