# The soak tells every kind of failure with the seed and the command that
# replays it, and exits 1: a game standing in for the real one fails on
# purpose for some seeds (a run-time error's status, a hang, a damaged
# roster) and plays normally for the others.
set -euo pipefail
SOAK="$1"
KESTRUN="$2"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

mkdir "$WORK/bin"
ln -s "$(dirname "$KESTRUN")/kestrun-forge" "$WORK/bin/kestrun-forge"
cat >"$WORK/bin/kestrun" <<SCRIPT
#!/bin/bash
seed=""; dir=""
for ((i = 1; i <= \$#; i++)); do
  case "\${!i}" in
    --seed) j=\$((i + 1)); seed="\${!j}" ;;
    --dir) j=\$((i + 1)); dir="\${!j}" ;;
  esac
done
case "\$seed" in
  2) exit 1 ;;
  3) exec sleep 60 ;;
  4) "$KESTRUN" "\$@"; status=\$?; head -c 100 "\$dir/1-C.DAT" >"\$dir/cut"; mv "\$dir/cut" "\$dir/1-C.DAT"; exit \$status ;;
esac
exec "$KESTRUN" "\$@"
SCRIPT
chmod +x "$WORK/bin/kestrun"

set +e
"$SOAK" --kestrun "$WORK/bin/kestrun" --work "$WORK/soak" --sessions 4 --keys 100 --timeout 5 \
  >"$WORK/out" 2>&1
status=$?
set -e
cat "$WORK/out"
[ "$status" = 1 ] || fail "the soak exited with $status"
grep -q "^FAIL seed 2, run 1: exit status 1$" "$WORK/out" || fail "no run-time error status"
grep -q "^FAIL seed 3, run 1: no end within 5 s (killed)$" "$WORK/out" || fail "no hang"
grep -q "^FAIL seed 4, run 1: the forge rejects the roster" "$WORK/out" || fail "no damaged roster"
grep -q "^FAIL seed 1" "$WORK/out" && fail "seed 1 played normally"
grep -q "^failures: 3$" "$WORK/out" || fail "not three failures"

# The replay command of seed 4 is the run that damaged the roster, on the
# roster from before it.
replay="$(grep -A1 "^FAIL seed 4" "$WORK/out" | sed -n 's/^  replay: //p')"
[ -n "$replay" ] || fail "no replay command for seed 4"
cd "$WORK"
$replay || fail "the replay does not run"
"$(dirname "$KESTRUN")/kestrun-forge" roster "$WORK/soak/seed-4/game" 1 >/dev/null 2>&1 &&
  fail "the replayed run left a sound roster" || true
