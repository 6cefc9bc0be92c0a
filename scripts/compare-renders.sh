#!/usr/bin/env bash
# Checks that a change left every garden as it was: renders the same seeds
# with a reference tessaly-render (built from an earlier commit) and with the
# new one, and compares the SVG and PNG files byte for byte.
#   scripts/compare-renders.sh REFERENCE NEW [SEEDS]
set -euo pipefail
ref=${1:?usage: compare-renders.sh REFERENCE-RENDERER NEW-RENDERER [SEEDS]}
new=${2:?usage: compare-renders.sh REFERENCE-RENDERER NEW-RENDERER [SEEDS]}
seeds=${3:-20}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

runs=0 differ=0
for seed in $(seq 1 "$seeds"); do
  for build in 0 1; do
    for cycle in 1 5 30; do
      for ext in svg png; do
        args=(--seed "$seed" --build "$build" --cycle-length "$cycle" --ticks 1400 --size 800x600)
        "$ref" "${args[@]}" -o "$work/ref.$ext" >/dev/null
        "$new" "${args[@]}" -o "$work/new.$ext" >/dev/null
        runs=$((runs + 1))
        if ! cmp -s "$work/ref.$ext" "$work/new.$ext"; then
          echo "differs: ${args[*]} ($ext)"
          differ=$((differ + 1))
        fi
      done
    done
  done
done
echo "compare-renders: $runs renders, $differ differ"
[ "$differ" -eq 0 ]
