#!/usr/bin/env bash
# Paints the same gardens with tessaly-render.exe (GDI, under Wine) and the
# Linux tessaly-render (Cairo) and reports the share of identical pixels.
#   compare-gdi-cairo.sh LINUX_RENDER [MIN_PERCENT]
# Fails when any garden agrees on less than MIN_PERCENT (default 99.5) of its
# pixels. Environment as for run-wine-test.sh; the renders and a difference
# image per garden go to $TESSALY_ARTEFACTS/gdi-vs-cairo.
set -uo pipefail

. "$(dirname "$0")/../support/skip.sh"

linux_render=${1:?usage: compare-gdi-cairo.sh LINUX_RENDER [MIN_PERCENT]}
min_percent=${2:-99.5}
seeds=(${TESSALY_COMPARE_SEEDS:-1 42 20261207})
sizes=(${TESSALY_COMPARE_SIZES:-1400x1000 1920x1080 1366x768 1440x900})

command -v wine >/dev/null || skip "wine is not installed"
[ -x /usr/bin/compare ] || skip "ImageMagick's compare is not installed"
gdi_render="${TESSALY_WINDOWS_BUILD_DIR:?}/tools/render/tessaly-render.exe"
[ -f "$gdi_render" ] || skip "$gdi_render is missing (build it with scripts/build-windows.sh)"
[ -x "$linux_render" ] || skip "$linux_render is missing"
export WINEPREFIX="${TESSALY_WINEPREFIX:?}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -f "$WINEPREFIX/system.reg" ] || { echo "no Wine prefix at $WINEPREFIX" >&2; exit 1; }
unset DISPLAY  # no window is needed: both draw into memory

out="${TESSALY_ARTEFACTS:-$PWD/test-artefacts/win32}/gdi-vs-cairo"
rm -rf "$out"
mkdir -p "$out"
stop_wine() { wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1; }
stop_wine  # a server left by an earlier test may be on its way out
trap stop_wine EXIT

windows_path() { printf 'Z:%s' "$(realpath "$1" | tr / '\\')"; }

status=0
total_pixels=0
total_different=0
printf '%-10s %-10s %12s %12s %10s\n' size seed pixels different identical
for size in "${sizes[@]}"; do
  for seed in "${seeds[@]}"; do
    gdi="$out/gdi-$size-$seed.png"
    cairo="$out/cairo-$size-$seed.png"
    if ! message=$(wine "$gdi_render" --seed "$seed" --size "$size" \
        -o "$(windows_path "$out")\\gdi-$size-$seed.png" 2>&1); then
      echo "FAIL: tessaly-render.exe --seed $seed --size $size: $message" >&2
      status=1
      continue
    fi
    "$linux_render" --seed "$seed" --size "$size" -o "$cairo" >/dev/null ||
      { echo "FAIL: tessaly-render --seed $seed --size $size" >&2; status=1; continue; }
    if [ "$(/usr/bin/identify -format '%wx%h' "$gdi")" != "$size" ]; then
      echo "FAIL: the GDI render is not $size" >&2; status=1; continue
    fi
    different=$(/usr/bin/compare -metric AE "$gdi" "$cairo" "$out/diff-$size-$seed.png" 2>&1 >/dev/null)
    pixels=$(( ${size%x*} * ${size#*x} ))
    identical=$(awk -v d="$different" -v p="$pixels" 'BEGIN { printf "%.4f", 100 * (p - d) / p }')
    printf '%-10s %-10s %12d %12d %9s%%\n' "$size" "$seed" "$pixels" "$different" "$identical"
    total_pixels=$((total_pixels + pixels))
    total_different=$((total_different + different))
    # Judged on the exact share, not the rounded figure: at 100 one pixel fails.
    if awk -v d="$different" -v p="$pixels" -v m="$min_percent" 'BEGIN { exit !(100 * (p - d) / p < m) }'; then
      echo "FAIL: seed $seed at $size agrees on only $identical% (at least $min_percent% wanted)" >&2
      status=1
    fi
  done
done
[ "$total_pixels" -gt 0 ] && awk -v d="$total_different" -v p="$total_pixels" \
  'BEGIN { printf "all gardens: %d of %d pixels differ, %.4f%% identical\n", d, p, 100 * (p - d) / p }'
exit $status
