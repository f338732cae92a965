#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Launch-to-ready time and peak memory of the program, five runs under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/../build"
cmake --build . --target bench_startup >/dev/null
cp -f tavimer.dat tools/bench_startup.dat
db="${XDG_DATA_HOME:-$HOME/.local/share}/Kelvaro/Tavimer/Database"
mkdir -p "$(dirname "$db")"
mkdir -p -m 700 "$db"
for i in 1 2 3 4 5; do
  xvfb-run -a -s "-screen 0 1280x800x24" ./tools/bench_startup 2>/dev/null
done
