#!/usr/bin/env bash
# Speed and memory figures: the micro benchmarks, start-up to the title, peak
# memory, and the processor time a game waiting at the title uses.
set -euo pipefail
cd "$(dirname "$0")/.."
build="$(realpath "${1:-build}")"
measure="$build/bench/kestrun_measure"
work="$(mktemp -d)"
trap 'rm -rf "$work"; tmux -S "$work/tmux.sock" kill-server 2>/dev/null || true' EXIT

# Start-up as a multiple of a C++ "hello" built and run in the same
# measurement, so that the figures do not depend on the machine.
echo "== start-up against a C++ \"hello\" (goals: --version under 1.5 x, the town menu under 2.5 x)"
printf '#include <iostream>\nint main() { std::cout << "hello\\n"; }\n' >"$work/hello.cpp"
"${CXX:-c++}" -O2 -o "$work/hello" "$work/hello.cpp"
"$build/kestrun-forge" build scenarios/sample "$work/town" >/dev/null
printf "kestrun --version:         "
"$measure" compare 300 -- "$work/hello" -- "$build/kestrun" --version
printf "headless to the town menu: "
"$measure" compare 200 -- "$work/hello" -- \
  "$build/kestrun" --frontend headless --dir "$work/town" --seed 1 --keys '1{Enter}'

echo "== soak: keys per second of processor time, the program's start counted (goal over 20,000)"
"$build/tests/soak/kestrun_soak" --sessions 40 --keys 2000 -j 2 | grep -E "keys/s|failures"

echo "== micro benchmarks"
"$build/bench/kestrun_bench" --benchmark_min_time=0.2

echo "== headless: start-up to the title frame, peak memory"
"$measure" run 20 -- "$build/kestrun" --frontend headless --dir "$work" --seed 1 --keys ""

echo "== kestrun-forge build of the sample scenario"
"$measure" run 20 -- "$build/kestrun-forge" build scenarios/sample "$work/sample"

echo "== sdl under Xvfb: 10 s waiting at the title, peak memory"
cat >"$work/sdl.sh" <<SDL
"$build/kestrun" --frontend sdl --scale 1 --dir "$work" &
pid=\$!
xdotool search --sync --onlyvisible --name '^KESTRUN' >/dev/null
sleep 1
"$measure" idle 10 \$pid
"$measure" rss \$pid
kill -TERM \$pid
wait \$pid || true
SDL
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/sdl.sh"

echo "== tty in tmux: 10 s waiting at the title"
tmux -S "$work/tmux.sock" new-session -d -x 100 -y 30 \
  "exec env LANG=C.UTF-8 '$build/kestrun' --frontend tty --dir '$work'"
sleep 1
pid="$(tmux -S "$work/tmux.sock" list-panes -F '#{pane_pid}' | head -n 1)"
"$measure" idle 10 "$pid"
"$measure" rss "$pid"
tmux -S "$work/tmux.sock" kill-server

# A party of three in the dungeon of the bundled scenario, one step in and
# waiting for the next key.
cp -r scenarios/sample "$work/dungeon-src"
cp tests/data/sample-party/roster.toml "$work/dungeon-src/"
# Entering the dungeon saves the roster: each front end gets a fresh copy.
"$build/kestrun-forge" build "$work/dungeon-src" "$work/dungeon" --new-roster >/dev/null
cp -r "$work/dungeon" "$work/dungeon-tty"
into_dungeon='1{Enter}121{Enter}21{Enter}21{Enter}070n6'

echo "== sdl under Xvfb: 10 s waiting in the dungeon"
cat >"$work/sdl-dungeon.sh" <<SDL
"$build/kestrun" --frontend sdl --scale 1 --dir "$work/dungeon" --keys '$into_dungeon' &
pid=\$!
xdotool search --sync --onlyvisible --name '^KESTRUN' >/dev/null
sleep 2
"$measure" idle 10 \$pid
kill -TERM \$pid
wait \$pid || true
SDL
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/sdl-dungeon.sh"

echo "== tty in tmux: 10 s waiting in the dungeon"
tmux -S "$work/tmux.sock" new-session -d -x 100 -y 30 \
  "exec env LANG=C.UTF-8 '$build/kestrun' --frontend tty --dir '$work/dungeon-tty' --keys '$into_dungeon'"
sleep 2
pid="$(tmux -S "$work/tmux.sock" list-panes -F '#{pane_pid}' | head -n 1)"
tmux -S "$work/tmux.sock" capture-pane -p | grep -q "Ｇ" || echo "(the party panel is not on the screen)"
"$measure" idle 10 "$pid"

# The sample's web page in headless Chromium: size, time to the title, CPU
# while it waits (`make bench` builds the web build first).
/usr/bin/python3 bench/web_page.py "$build"
