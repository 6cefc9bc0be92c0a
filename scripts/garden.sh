#!/usr/bin/env bash
# Sets everything up, builds tessaly-render and paints a garden to garden.png.
# Extra arguments go to tessaly-render (see tessaly-render --help).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh build
# Only what the garden needs: no tests, no benchmarks.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSALY_TESTS=OFF -DTESSALY_BENCH=OFF >/dev/null
cmake --build build -j "$(nproc)" --target tessaly-render
build/tools/render/tessaly-render --seed 7 --ticks 599 -o garden.png "$@"
echo "Your garden is in $(pwd)/garden.png"
