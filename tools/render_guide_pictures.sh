#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders every picture of the guides (docs/*.png) from the program under Xvfb, each with a
# folder, home, settings and database of its own holding a sample card; the measuring picture
# with the simulated device. Run it before a release and look at the pictures.
# Usage: tools/render_guide_pictures.sh [display]   (default :34); needs Xvfb, xdotool, pdftoppm.
set -euo pipefail
cd "$(dirname "$0")/.."
display="${1:-:34}"
cmake --build build --target tavimer tavimer-sim render_guide_pictures >/dev/null
work="$(mktemp -d)"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sim=
trap 'kill $sim $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 100); do
  DISPLAY="$display" xdotool getdisplaygeometry >/dev/null 2>&1 && break
  sleep 0.1
done
export DISPLAY="$display"

# picture <name> <width> <height> [settings lines]: the program's folder, then the picture.
picture() {
  local name=$1 width=$2 height=$3 extra=${4:-}
  local dir="$work/$name"
  local db="$dir/home/.local/share/Kelvaro/Tavimer/Database"
  mkdir -p "$dir/home/.local/share/Kelvaro/Tavimer"
  mkdir -m 700 "$db" "$db/arc"
  cp build/tavimer build/tavimer.dat build/tavimer-en.dat "$dir/"
  printf '[Main]\r\nTop=0\r\nLeft=0\r\nWidth=%s\r\nHeight=%s\r\n%b[Database]\r\nDBPath=%s/\r\n' \
    "$width" "$height" "$extra" "$db" >"$dir/tavimer.ini"
  export HOME="$dir/home"
  build/tools/render_guide_pictures "$dir/tavimer" card "$db/"
  if [ "$name" = main-window ]; then
    build/tools/tavimer-sim "$dir/device" --register "$dir/tavimer.ini" --rest 1 --rise 1 \
      --hold 5 --quiet </dev/null >"$dir/sim.log" 2>&1 &
    sim=$!
    for _ in $(seq 100); do [ -e "$dir/device" ] && break; sleep 0.1; done
  fi
  local out="docs/$name.png"
  [ "$name" = report-page ] && out="$dir/report.pdf"
  build/tools/render_guide_pictures "$dir/tavimer" "$name" "$out" ||
    { echo "could not render $name" >&2; exit 1; }
  if [ "$name" = report-page ]; then
    pdftoppm -png -r 150 -f 1 -l 1 -singlefile "$out" docs/report-page
  fi
  if [ -n "$sim" ]; then
    kill "$sim"
    wait "$sim" 2>/dev/null || true
    sim=
  fi
  echo "docs/$name.png"
}

picture main-window 800 560
picture compare 1180 780
picture report-page 800 560
picture cards-english 800 560 'Language=en\r\n'
