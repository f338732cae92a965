#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Puts the licence's SPDX line at the top of every tracked source file that lacks it: C++ files,
# shell scripts (after their #! line) and CMake files. Safe to run again at any time.
set -euo pipefail
cd "$(dirname "$0")/.."
tag='SPDX-License-Identifier: GPL-3.0-or-later'
git ls-files -z -- '*.cpp' '*.h' '*.sh' '*.py' 'CMakeLists.txt' '*/CMakeLists.txt' '*.cmake' |
  while IFS= read -r -d '' f; do
    head -n 3 "$f" | grep -q 'SPDX-License-Identifier' && continue
    case "$f" in
      *.cpp | *.h) sed -i "1i // $tag" "$f" ;;
      *.sh | *.py)
        if head -n 1 "$f" | grep -q '^#!'; then
          sed -i "1a # $tag" "$f"
        else
          sed -i "1i # $tag" "$f"
        fi
        ;;
      *) sed -i "1i # $tag" "$f" ;;
    esac
  done
