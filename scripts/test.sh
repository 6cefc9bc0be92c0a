#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 or 13 machine, builds every program and
# runs all tests (unit tests and the end-to-end tests under Xvfb and Wine),
# then fuzzes each parser of untrusted input for 30 s.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh test
scripts/build.sh

# The dialog and the Wayland saver are optional: a build without either must
# still give every program.
echo "test: building tessaly, tessaly-idle and tessaly-render without GTK and Wayland"
cmake -S . -B build-nogtk -DTESSALY_GTK=OFF -DTESSALY_WAYLAND=OFF -DTESSALY_TESTS=OFF -DTESSALY_BENCH=OFF >/dev/null
cmake --build build-nogtk -j "$(nproc)" --target tessaly tessaly-idle tessaly-render >/dev/null

# The core, the renderer and the soak tests once more with AddressSanitizer
# and UndefinedBehaviorSanitizer, in a debug build so the bounds assertions
# are on: any report fails the test that caused it. The 100,000-tick soak
# is left to the plain build (it takes many minutes here); the 20,001-tick
# one runs.
echo "test: building the core, the renderer and their tests with ASan and UBSan"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTESSALY_SANITIZE=ON -DTESSALY_GTK=OFF -DTESSALY_BENCH=OFF >/dev/null
cmake --build build-asan -j "$(nproc)" --target core_tests render_tests leak_soak tessaly-render >/dev/null
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j 2 --timeout 900 -L 'core|render|soak' -E 'valgrind|wine|HundredThousand')

(cd build && ctest --output-on-failure -j 2 --timeout 600)

# Every fuzz target for 30 s; any finding fails the run.
scripts/fuzz.sh 30
