#!/usr/bin/env bash
# Fuzzes what reads untrusted input: builds the libFuzzer targets of
# tests/fuzz with clang, AddressSanitizer and UndefinedBehaviorSanitizer in
# build-fuzz/ (the main build stays as it is) and runs each for SECONDS
# (default 60), starting from the seeds in tests/fuzz/corpus/<target>/.
#
#   scripts/fuzz.sh [SECONDS]
#
# Exits 1 if any target finds a crash, a sanitizer report, a timeout, too
# much memory or a broken property; the input is kept in build-fuzz/findings/.
# Once the fault is mended, add that input to the target's corpus folder.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
targets=(settings_text command_line render_options mode_switch png_header)

# Without clang: skipped (77), or failed in CI.
source tests/support/skip.sh
require clang clang++

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSALY_FUZZ=ON \
  -DTESSALY_TESTS=OFF -DTESSALY_BENCH=OFF -DTESSALY_GTK=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target tessaly_fuzz_targets >/dev/null

mkdir -p build-fuzz/findings
failed=()
for target in "${targets[@]}"; do
  # New inputs go to the working corpus in build-fuzz; the seeds are only read.
  work=build-fuzz/corpus/$target
  log=build-fuzz/fuzz-$target.log
  mkdir -p "$work"
  if build-fuzz/tests/fuzz/fuzz_"$target" "$work" "tests/fuzz/corpus/$target" \
       -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 -max_len=4096 \
       -artifact_prefix="build-fuzz/findings/$target-" -print_final_stats=1 >"$log" 2>&1; then
    echo "fuzz: $target: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$') inputs in ${seconds}s, nothing found"
  else
    echo "fuzz: $target: FOUND A FAULT (log $log)" >&2
    grep -E -A 12 'ERROR|property failed|deadly signal' "$log" | head -40 >&2 || tail -40 "$log" >&2
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: findings in ${failed[*]}: see build-fuzz/findings/" >&2
  exit 1
fi
