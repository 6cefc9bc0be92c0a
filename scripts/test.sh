#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine, builds every program and
# runs all tests (unit tests and the end-to-end tests under Xvfb and Wine).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh
cd build
ctest --output-on-failure -j 2 --timeout 600
