#!/usr/bin/env bash
# Cross-builds the Windows programs (tessaly.scr, tessaly-render.exe and the
# Wine test host) with MinGW-w64 into the given folder (default build-win).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build-win}
jobs=${JOBS:-$(nproc)}

if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
  echo "build-windows: x86_64-w64-mingw32-g++-posix is missing (Debian: g++-mingw-w64-x86-64-posix)" >&2
  exit 1
fi
cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" >/dev/null
cmake --build "$dir" -j "$jobs"
echo "build-windows: $dir/platform/win32/tessaly.scr"
