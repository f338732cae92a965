#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and starts the program.
# With --demo, a simulated measuring device is started as well, and the settings file is told
# where to find it ([Device] Ports).
set -euo pipefail
cd "$(dirname "$0")/.."
demo=0
for arg in "$@"; do
  case "$arg" in
    --demo) demo=1 ;;
    *) echo "usage: $0 [--demo]" >&2; exit 2 ;;
  esac
done
bash tools/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
# The patients' records are the owner's alone, as the program makes its own default folder.
db="${XDG_DATA_HOME:-$HOME/.local/share}/Kelvaro/Tavimer/Database"
mkdir -p "$(dirname "$db")"
mkdir -p -m 700 "$db" "$db/arc"
if [ "$demo" = 0 ]; then
  exec ./build/tavimer
fi

link="${TMPDIR:-/tmp}/tavimer-sim-$(id -u)"
log=build/tavimer-sim.log
./build/tools/tavimer-sim "$link" --register build/tavimer.ini >"$log" 2>&1 </dev/null &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  [ -e "$link" ] && break
  sleep 0.1
done
if [ ! -e "$link" ]; then
  cat "$log" >&2
  exit 1
fi
echo "Simulated device at $link; what it sends is logged in $log."
echo "Pull it out: kill -USR1 $sim   Plug it in again: kill -USR2 $sim"
./build/tavimer
