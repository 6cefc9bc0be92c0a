#!/usr/bin/env bash
# Measures the full-screen saver on a private 1920x1080 Xvfb: CPU share of one
# core (the program, and the X server that renders for it) over a window of
# seconds, the ticks per second it reaches, and its memory after many ticks.
# Usage: measure_saver.sh PATH/TO/tessaly [SECONDS]
# Not a test: speed goals are measured, never asserted.
set -euo pipefail
program=${1:?usage: measure_saver.sh PATH/TO/tessaly [SECONDS]}
seconds=${2:-20}
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 1920x1080x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
pids+=("$xvfb")
read -r -t 15 -u "$fd" number
export DISPLAY=":$number" XDG_CONFIG_HOME="$work"
unset WAYLAND_DISPLAY  # in a Wayland session /s would run there
ticks_per_second=$(getconf CLK_TCK)

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# share of one core used by PID over $seconds, in per cent
measure_cpu() {
  local pid=$1 a b c d
  a=$(cpu_ticks "$pid"); c=$(cpu_ticks "$xvfb")
  sleep "$seconds"
  b=$(cpu_ticks "$pid"); d=$(cpu_ticks "$xvfb")
  awk -v p=$((b - a)) -v x=$((d - c)) -v hz="$ticks_per_second" -v s="$seconds" \
    'BEGIN { printf "tessaly %.1f%%  Xvfb %.1f%%\n", 100 * p / hz / s, 100 * x / hz / s }'
}

for speed in 60 100; do
  "$program" /s --speed "$speed" --seed 1 --stats 2>"$work/stats-$speed.log" &
  saver=$!
  pids+=("$saver")
  sleep 2  # past start-up
  printf 'speed %3s: CPU of one core: ' "$speed"
  measure_cpu "$saver"
  kill "$saver"; wait "$saver" || true
  if [ "$speed" = 100 ]; then
    awk '/ticks\/s/ { n++; if (n > 2) { sum += $4; count++ } }
         END { if (count) printf "speed 100: ticks per second: %.1f (mean of %d one-second counts)\n", sum / count, count }' \
      "$work/stats-$speed.log"
  fi
done

# Memory: an hour at the default speed is 3600000 / 205 = 17561 ticks; run
# that many at Speed 100 and compare with the memory after a minute's worth (293).
"$program" /s --speed 100 --seed 1 --stats 2>"$work/memory.log" &
saver=$!
pids+=("$saver")
while ! awk '/stats/ && $8 >= 17561 { found = 1 } END { exit !found }' "$work/memory.log" 2>/dev/null; do sleep 1; done
kill "$saver"; wait "$saver" || true
awk '/stats/ && $8 >= 293 && !m { m = $10; mt = $8 } /stats/ && $8 >= 17561 && !h { h = $10; ht = $8 }
     END { printf "memory: RSS %d kB after %d ticks (a minute), %d kB after %d ticks (an hour)\n", m, mt, h, ht }' \
  "$work/memory.log"
