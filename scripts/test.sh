#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine, builds every program and
# runs all tests (unit tests and the end-to-end tests under Xvfb and Wine),
# then fuzzes each parser of untrusted input for 30 s.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh

# The dialog is optional: a build without GTK must still give both programs.
echo "test: building tessaly and tessaly-render without GTK"
cmake -S . -B build-nogtk -DTESSALY_GTK=OFF -DTESSALY_TESTS=OFF -DTESSALY_BENCH=OFF >/dev/null
cmake --build build-nogtk -j "$(nproc)" --target tessaly tessaly-render >/dev/null

(cd build && ctest --output-on-failure -j 2 --timeout 600)

# Every fuzz target for 30 s; any finding fails the run.
scripts/fuzz.sh 30
