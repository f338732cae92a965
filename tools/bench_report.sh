#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the benchmarks whose figures the developer's guide and the README give, one after
# another, each headed by its command, the time and the load average (1, 5 and 15 minutes)
# before and after it, since the figures depend on what else the machine does.
# Usage: tools/bench_report.sh [benchmark name...]   (all when none is given)
set -uo pipefail
cd "$(dirname "$0")/.."
cmake --build build >/dev/null &&
  cmake --build build --target bench_startup bench_records bench_history bench_tone_gen >/dev/null || exit 1
export TAVIMER_SOURCE_DIR=$PWD TAVIMER_BINARY_DIR=$PWD/build
declare -A commands=(
  [startup]="bash tools/bench_startup.sh"
  [idle]="bash tools/bench_idle.sh"
  [diagrams]="build/tests/diagrams/bench_diagrams"
  [tick]="build/tests/measure/test_point_painter reportsTheTickDrawingTime"
  [device_link]="build/tests/measure/bench_device_link"
  [replug]="build/tests/measure/test_device_link_replug"
  [tone]="build/tools/bench_tone_gen"
  [measuring]="build/tests/measure/test_measuring_e2e reportsTheCostOfOneTickWithItsRepaint aSimulatedRunFillsTheGridPointByPointAndEndsIdle"
  [records]="build/tests/records/bench_records"
  [stress]="build/tests/records/test_shared_folder_stress"
  [compare]="build/tests/diagrams/bench_compare"
  [backup]="build/tests/records/bench_backup"
  [history]="build/tests/records/bench_history"
)
order=(startup idle diagrams tick device_link replug tone measuring records stress compare backup history)
[ $# -gt 0 ] && order=("$@")
load() { cut -d' ' -f1-3 /proc/loadavg; }
for name in "${order[@]}"; do
  command=${commands[$name]:-}
  [ -n "$command" ] || { echo "no benchmark $name" >&2; exit 2; }
  echo "== $name: $command"
  echo "== $(date '+%Y-%m-%d %H:%M') load $(load) on $(nproc) cores"
  # The start-up and idle scripts bring a display of their own.
  platform=offscreen
  [ "$name" = startup ] || [ "$name" = idle ] && platform=xcb
  QT_QPA_PLATFORM=$platform $command 2>&1 |
    grep -v -e '^PASS' -e '^Totals' -e '^\*\*\*\*\*' -e '^Config:' || true
  echo "== after: load $(load)"
done
