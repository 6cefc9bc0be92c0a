#!/usr/bin/env bash
# Builds the Linux programs into build/ and, when the cross compiler is
# there, the Windows programs into build-win/.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSALY_TESTS=ON -DTESSALY_BENCH=ON >/dev/null
cmake --build build -j "$jobs"

if [ -x scripts/build-windows.sh ] && command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
  scripts/build-windows.sh build-win
fi
