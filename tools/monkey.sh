#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Random input for the sanitizer build, against the simulated device, on a display of its own:
#   bash tools/monkey.sh [seconds=60] [seed]
# Fails on a crash, a sanitizer report or a hang of more than 5 s; the log names the seed, so
# that a run can be repeated. Settings, database folder and home are thrown away afterwards.
# TAVIMER_MONKEY_BUILD picks another build folder (default build-san, built if needed).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
seed=${2:-$RANDOM}
build=${TAVIMER_MONKEY_BUILD:-build-san}
if [ "$build" = build-san ]; then
  bash tools/sanitize-build.sh --target tavimer tavimer-sim >/dev/null
fi
source tools/sanitize-env.sh
# The run is ended from outside: what is left allocated then is no leak.
export ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=0"

work=$(mktemp -d "${TMPDIR:-/tmp}/tavimer-monkey.XXXXXX")
pids=()
finish() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap finish EXIT
mkdir -p "$work/home" "$work/xdg/Kelvaro/Tavimer"
mkdir -m 700 "$work/xdg/Kelvaro/Tavimer/Database" "$work/xdg/Kelvaro/Tavimer/Database/arc"
chmod 700 "$work/home"
cp "$build/tavimer" "$build/tavimer.dat" "$work/"
export HOME="$work/home" XDG_DATA_HOME="$work/xdg" XDG_CONFIG_HOME="$work/home/.config"
export XDG_RUNTIME_DIR="$work/home" QT_QPA_PLATFORM=xcb
unset QT_QPA_PLATFORM_PLUGIN_PATH

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"

"$build/tools/tavimer-sim" "$work/device" --register "$work/tavimer.ini" --quiet \
  --rest 0.4 --rise 0.4 --hold 1 --seed "$seed" >"$work/sim.log" 2>&1 </dev/null &
sim=$!
pids+=($sim)
for _ in $(seq 100); do [ -e "$work/device" ] && break; sleep 0.1; done

echo "monkey: $seconds s, seed $seed, display $DISPLAY, build $build"
end=$((SECONDS + seconds))
status=0
while [ $SECONDS -lt $end ]; do
  (cd "$work" && exec ./tavimer) >"$work/program.log" 2>&1 &
  program=$!
  pids+=($program)
  # The device comes and goes now and then, as a cable would.
  (while sleep 7; do kill -USR1 $sim; sleep 2; kill -USR2 $sim; done) 2>/dev/null &
  pids+=($!)
  driver=0
  python3 tools/monkey.py --pid $program --seconds $((end - SECONDS)) --seed "$seed" || driver=$?
  if [ $driver = 2 ]; then
    status=1
    kill -ABRT $program 2>/dev/null || true
  fi
  if kill -0 $program 2>/dev/null; then
    kill $program
    wait $program 2>/dev/null || true
    break
  fi
  rc=0
  wait $program || rc=$?
  if [ $rc != 0 ] || grep -q "Sanitizer\|runtime error:" "$work/program.log"; then
    echo "monkey: the program ended with $rc" >&2
    status=1
  fi
  [ $status = 0 ] || break
  # Ended by the user's input (for example its exit button): start it again.
  seed=$((seed + 1))
done
if [ $status != 0 ] || grep -q "Sanitizer\|runtime error:" "$work/program.log"; then
  cat "$work/program.log" >&2
  echo "monkey: FAILED (seed $seed)" >&2
  exit 1
fi
echo "monkey: no crash, no sanitizer report, no hang"
