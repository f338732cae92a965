#!/usr/bin/env bash
# Installs what is missing, builds, checks the Debian package, and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
bash tools/check_package.sh
export QT_QPA_PLATFORM=offscreen
# Benchmarks measure a machine as much as the program; they are run by hand (see Performance).
ctest --test-dir build --output-on-failure -j2 -LE bench
# Two workstations over a network folder for a short while; skips where FUSE is missing.
timeout 60 bash tools/network_folder_test.sh 15 4 build
