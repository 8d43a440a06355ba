#!/usr/bin/env bash
# Builds the fuzz targets with clang in BUILD and runs each for SECONDS from
# a copy of the seed corpus. Prints executions per second and coverage per
# target; exits non-zero when any target found a crash, a hang or a leak.
#   scripts/fuzz.sh BUILD SECONDS [TARGET...]
set -euo pipefail

if [ $# -lt 2 ]; then
  echo "usage: $0 BUILD SECONDS [TARGET...]" >&2
  exit 2
fi
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$1"
seconds="$2"
shift 2
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(scenario_file roster_file floor_file picture keys forge_source)
fi
jobs="${JOBS:-2}"
[ "$jobs" -gt 2 ] && jobs=2

if ! grep -qs '^KESTRUN_FUZZ:BOOL=ON' "$build/CMakeCache.txt"; then
  launcher=()
  command -v ccache > /dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
    -DKESTRUN_FUZZ=ON -DKESTRUN_BENCH=OFF "${launcher[@]}" > /dev/null
fi
cmake --build "$build" --target fuzz_targets -j "$jobs" > "$build/fuzz-build.log" ||
  { tail -n 30 "$build/fuzz-build.log"; exit 1; }

crashes="$(cd "$build" && pwd)/fuzz-crashes"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export UBSAN_OPTIONS="print_stacktrace=1:${UBSAN_OPTIONS:-}"

failed=0
for target in "${targets[@]}"; do
  mkdir -p "$crashes/$target" "$work/$target"
  cp -r "$root/tests/fuzz/corpus/$target/." "$work/$target/"
  log="$build/fuzz-$target.log"
  dict=()
  case "$target" in
    scenario_file | roster_file | floor_file) dict=(-dict="$root/tests/fuzz/data_file.dict") ;;
    forge_source) dict=(-dict="$root/tests/fuzz/toml.dict") ;;
    keys) dict=(-dict="$root/tests/fuzz/keys.dict") ;;
  esac
  status=0
  nice "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$crashes/$target/" "${dict[@]}" "$work/$target" \
    > "$log" 2>&1 || status=$?
  rate="$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)"
  edges="$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)"
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)"
  printf '%-14s %8s exec/s  %6s edges  %10s runs in %s s\n' "$target" "${rate:-?}" \
    "${edges:-?}" "${runs:-?}" "$seconds"
  if [ "$status" -ne 0 ]; then
    failed=1
    echo "  FOUND A FAILURE (log $log):"
    grep -E '^(==[0-9]+==ERROR|SUMMARY|artifact_prefix|Test unit written)' "$log" | sed 's/^/  /'
  fi
done
echo "new crashes go to $crashes/<target>/"
exit "$failed"
