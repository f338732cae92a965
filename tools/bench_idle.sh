#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Processor share of the idle program over 60 s, read from /proc/<pid>/stat, with no device
# attached: once with the cards window in front, once with the measuring window.
# Usage: tools/bench_idle.sh [build folder] [seconds]; needs Xvfb and xdotool.
set -euo pipefail
build="$(cd "${1:-$(dirname "$0")/../build}" && pwd)"
seconds="${2:-60}"
work="$(mktemp -d)"
display=":$((200 + RANDOM % 500))"
trap 'kill "$program" "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
cp "$build/tavimer" "$build/tavimer.dat" "$work/"
mkdir -p "$work/xdg/Kelvaro/Tavimer"
mkdir -m 700 "$work/xdg/Kelvaro/Tavimer/Database" "$work/xdg/Kelvaro/Tavimer/Database/arc"
printf '[Main]\r\nTop=0\r\nLeft=0\r\nWidth=1024\r\nHeight=768\r\n' >"$work/tavimer.ini"
Xvfb "$display" -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
sleep 1
DISPLAY="$display" XDG_DATA_HOME="$work/xdg" "$work/tavimer" >/dev/null 2>&1 &
program=$!
ticks() { awk '{ sub(/.*\) /, ""); print $12 + $13 }' "/proc/$program/stat"; }
share() {
  local before after
  before=$(ticks)
  sleep "$seconds"
  after=$(ticks)
  awk -v t=$((after - before)) -v hz="$(getconf CLK_TCK)" -v s="$seconds" \
    'BEGIN { printf "%.2f", 100 * t / hz / s }'
}
sleep 8 # start-up, splash and the first port search
cards=$(share)
# The second tool-bar button brings the measuring window forward.
DISPLAY="$display" xdotool mousemove 79 25 click 1
sleep 2
meas=$(share)
echo "cards ${cards} %, measuring ${meas} % of a core"
