#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, checks the Debian package, and runs every test headless.
# With --sanitize: a Debug build with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-san/, where any report fails its test.
set -euo pipefail
cd "$(dirname "$0")/.."
sanitize=0
for arg in "$@"; do
  case "$arg" in
    --sanitize) sanitize=1 ;;
    *) echo "usage: $0 [--sanitize]" >&2; exit 2 ;;
  esac
done
bash tools/deps.sh
export QT_QPA_PLATFORM=offscreen
if [ "$sanitize" = 1 ]; then
  bash tools/sanitize-build.sh
  source tools/sanitize-env.sh
  ctest --test-dir build-san --output-on-failure -j2 -LE bench
  exit
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
bash tools/check_package.sh
# Benchmarks measure a machine as much as the program; they are run by hand (see Performance).
ctest --test-dir build --output-on-failure -j2 -LE bench
# Two workstations over network folders for a short while (sshfs without and with caching, an
# SMB share through smbnetfs); skips where FUSE is missing, the SMB share where port 445 is taken.
timeout 420 bash tools/network_folder_test.sh 15 4 build "plain cached smb"
