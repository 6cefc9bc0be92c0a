#!/usr/bin/env bash
# tessaly /s under KWin (KDE Plasma's compositor, virtual backend) on one
# 1920x1080 screen, at scale 1 (1920x1080 logical) and at scale 1.5
# (1280x720 logical, which wl_output rounds up to 2): the buffer it paints,
# the pixels it damages and the bytes it copies per frame (from --stats),
# its resident memory and its share of one core over a window of seconds
# after 3 s of start-up, at Speed 100. With a BASELINE_BUILD_DIR, that
# build's tessaly is measured beside it. Not a test: nothing is asserted.
# Usage: bench/kwin-scales.sh [BUILD_DIR] [SECONDS] [BASELINE_BUILD_DIR]
set -u
cd "$(dirname "$0")/.."
build=${1:-build}
programs=("$(realpath "$build/platform/linux/tessaly")")
[ -n "${3:-}" ] && programs+=("$(realpath "$3/platform/linux/tessaly")")
seconds=${2:-15}
CASE=bench ARTEFACTS=$(mktemp -d)
KWIN_SCREENSHOT=$(realpath "$build/tests/wayland/kwin_screenshot")
. tests/support/session.sh
. tests/support/kwin.sh
hz=$(getconf CLK_TCK)
ticks_of() { awk '{print $14 + $15}' "/proc/$1/stat"; }

for row in 1:1920x1080 1.5:1280x720; do
    scale=${row%:*} logical=${row#*:}
    kwin_start wayland-bench --width "${logical%x*}" --height "${logical#*x}" --scale "$scale"
    for program in "${programs[@]}"; do
        # The protocol log for the buffers' size; only those lines and the stats are kept.
        launch tessaly.log env WAYLAND_DEBUG=1 "$program" /s --speed 100 --seed 1 --stats
        saver=$!
        sleep 3
        a=$(ticks_of "$saver") && lines=$(grep -c stats "$WORK/tessaly.log")
        sleep "$seconds"
        b=$(ticks_of "$saver") && rss=$(awk '/VmRSS/ {print $2}' "/proc/$saver/status")
        kill "$saver"; wait "$saver" 2>/dev/null
        buffer=$(buffers "$WORK/tessaly.log" | tail -n1)
        grep stats "$WORK/tessaly.log" | tail -n +"$((lines + 1))" |
            awk -v s="$scale" -v l="$logical" -v b="$buffer" -v p="$((b - a))" -v hz="$hz" -v t="$seconds" -v rss="$rss" \
                -v base="$([ "$program" = "${programs[0]}" ] || echo ' (base)')" '
            { frames += $12; bytes += $12 * $14; pixels += $12 * $16; counted = NF >= 16; n++ }
            END {
                printf "KWin scale %-4s %-9s%-7s: buffer %-9s tessaly %5.1f%% of one core; RSS %5.1f MB; frames %5.1f/s; %8s pixels damaged and %8.0f bytes copied per frame\n",
                    s, l, base, b, 100 * p / hz / t, rss / 1024, n ? frames / n : 0,
                    counted && frames ? sprintf("%.0f", pixels / frames) : "(untold)", frames ? bytes / frames : 0
            }'
    done
    kwin_stop
done
rm -rf "$ARTEFACTS"
