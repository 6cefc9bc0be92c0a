#!/usr/bin/env bash
# Measures tessaly /s on a private headless sway with one 1920x1080 output:
# the share of one core used by tessaly and by the compositor over a window
# of seconds, after 3 s of start-up. Not a test: speed goals are measured,
# never asserted. Usage: bench/wayland-saver.sh [BUILD_DIR] [SPEED] [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-build}/platform/linux/tessaly
speed=${2:-60}
seconds=${3:-10}
work=$(mktemp -d)
chmod 700 "$work"
as=()
if [ "$(id -u)" = 0 ]; then  # sway refuses to run as root
  chown nobody:nogroup "$work"
  as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; wait; rm -rf "$work"' EXIT
printf 'xwayland disable\n' >"$work/config"
chmod 644 "$work/config"
export XDG_RUNTIME_DIR=$work HOME=$work XDG_CONFIG_HOME=$work WLR_BACKENDS=headless WLR_RENDERER=pixman \
  WLR_LIBINPUT_NO_DEVICES=1
unset DISPLAY WAYLAND_DISPLAY
"${as[@]}" sway -c "$work/config" >/dev/null 2>&1 &
sway=$!
pids+=("$sway")
for _ in $(seq 50); do [ -S "$work/wayland-1" ] && break; sleep 0.1; done
export SWAYSOCK=$(ls "$work"/sway-ipc.*.sock) WAYLAND_DISPLAY=wayland-1
"${as[@]}" swaymsg output HEADLESS-1 mode 1920x1080 >/dev/null
"${as[@]}" "$program" /s --speed "$speed" >/dev/null 2>&1 &
saver=$!
pids+=("$saver")
sleep 3
cpu() { awk '{print $14 + $15}' "/proc/$1/stat"; }
a=$(cpu "$saver") b=$(cpu "$sway")
sleep "$seconds"
c=$(cpu "$saver") d=$(cpu "$sway")
awk -v s="$speed" -v t="$seconds" -v hz="$(getconf CLK_TCK)" -v p="$((c - a))" -v q="$((d - b))" \
  'BEGIN { printf "Speed %d at 1920x1080: tessaly %.1f%%, sway %.1f%% of one core\n", s, 100 * p / hz / t, 100 * q / hz / t }'
