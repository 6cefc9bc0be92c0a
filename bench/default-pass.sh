#!/usr/bin/env bash
# Times tessaly-render over one whole default pass (1400 ticks: every kind of
# scene in its share) at 1920x1080, to PNG and to SVG, and prints the time
# per tick. Usage: bench/default-pass.sh [BUILD_DIR] (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
render="$build/tools/render/tessaly-render"
[ -x "$render" ] || { echo "default-pass: no $render; build first (scripts/build.sh)" >&2; exit 1; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

run() {  # label, output file, extra options
  local label=$1 file=$2
  shift 2
  local start end
  start=$(date +%s.%N)
  "$render" --seed 7 --ticks 1400 -o "$out/$file" "$@" >/dev/null
  end=$(date +%s.%N)
  awk -v l="$label" -v s="$start" -v e="$end" -v size="$(stat -c %s "$out/$file")" \
    'BEGIN { t = e - s; printf "%-28s %6.2f s  %6.3f ms/tick  %9d bytes\n", l, t, t * 1000 / 1400, size }'
}

echo "tessaly-render, 1400 ticks (one default pass), seed 7, 1920x1080"
run "PNG, GDI pixels" garden.png
run "PNG, --antialias" garden-smooth.png --antialias
run "SVG" garden.svg
run "PDF" garden.pdf
