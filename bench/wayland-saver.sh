#!/usr/bin/env bash
# tessaly /s on Wayland against the X11 saver, in one run on one machine: a
# private headless sway (software rendering) and a private Xvfb, each with
# one 1920x1080 screen, at the default speed and at Speed 100. For each:
# the share of one core used by tessaly and by its display server over a
# window of seconds after 3 s of start-up, tessaly's resident memory, its
# minor page faults a second (a figure that does not depend on the machine),
# its ticks and paints a second, and on Wayland the frames a second and the
# bytes copied between buffers per frame, and its wake-ups a minute (voluntary
# context switches). With a BASELINE_BUILD_DIR, that build's tessaly is
# measured beside it on the same servers, line for line.
# Not a test: speed goals are measured, never asserted.
# Usage: bench/wayland-saver.sh [BUILD_DIR] [SECONDS] [BASELINE_BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
programs=("$(realpath "${1:-build}/platform/linux/tessaly")")
[ -n "${3:-}" ] && programs+=("$(realpath "$3/platform/linux/tessaly")")
seconds=${2:-15}
work=$(mktemp -d)
chmod 700 "$work"
as=()
if [ "$(id -u)" = 0 ]; then  # sway refuses to run as root
  chown nobody:nogroup "$work"
  as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; wait; rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work HOME=$work XDG_CONFIG_HOME=$work
hz=$(getconf CLK_TCK)
stat_of() { awk '{print $14 + $15, $10}' "/proc/$1/stat"; }  # CPU ticks, minor faults
wakeups_of() { awk '/^voluntary_ctxt_switches/ {print $2}' "/proc/$1/status"; }

# measure LABEL SERVER_PID SPEED COMMAND...: one line of figures.
measure() {
  local label=$1 server=$2 speed=$3
  shift 3
  "$@" /s --speed "$speed" --seed 1 --stats 2>"$work/stats.log" >/dev/null &
  local saver=$!
  pids+=("$saver")
  sleep 3
  local a b c d
  read -r a fa < <(stat_of "$saver")
  local wa=$(wakeups_of "$saver")
  b=$(stat_of "$server" | cut -d' ' -f1)
  local lines=$(wc -l <"$work/stats.log")
  sleep "$seconds"
  read -r c fc < <(stat_of "$saver")
  local wc=$(wakeups_of "$saver")
  d=$(stat_of "$server" | cut -d' ' -f1)
  local rss=$(awk '/VmRSS/ {print $2}' "/proc/$saver/status")
  kill "$saver"; wait "$saver" 2>/dev/null || true
  tail -n +"$((lines + 1))" "$work/stats.log" | awk -v l="$label" -v s="$speed" -v t="$seconds" -v hz="$hz" \
    -v p="$((c - a))" -v q="$((d - b))" -v f="$((fc - fa))" -v w="$((wc - wa))" -v rss="$rss" '
    /frames\/s/ { frames += $12; bytes += $12 * $14; n++ }
    /ticks\/s/ { ticks += $4; paints += $6; m++ }
    END {
      printf "%-14s Speed %3d: tessaly %5.1f%%, server %5.1f%% of one core; RSS %5.1f MB; minor faults %6.1f/s; wake-ups %6.0f/min; ticks %5.1f/s, paints %5.1f/s",
        l, s, 100 * p / hz / t, 100 * q / hz / t, rss / 1024, f / t, 60 * w / t, m ? ticks / m : 0, m ? paints / m : 0
      if (n) printf "; frames %5.1f/s, %.0f bytes copied per frame", frames / n, frames ? bytes / frames : 0
      printf "\n"
    }'
}

# X11: a private Xvfb.
exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 1920x1080x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
pids+=("$xvfb")
read -r -t 15 -u "$fd" number
# label NAME PROGRAM: the line's name, with "(base)" for the baseline build.
label() { [ "$2" = "${programs[0]}" ] && echo "$1" || echo "$1 (base)"; }
for speed in 60 100; do
  for program in "${programs[@]}"; do
    DISPLAY=":$number" WAYLAND_DISPLAY='' measure "$(label X11 "$program")" "$xvfb" "$speed" "$program" --backend x11
  done
done

# Wayland: a private headless sway.
printf 'xwayland disable\noutput * bg #204060 solid_color\n' >"$work/config"
chmod 644 "$work/config"
env -u DISPLAY -u WAYLAND_DISPLAY WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
  "${as[@]}" sway -c "$work/config" >"$work/sway.log" 2>&1 &
sway=$!
pids+=("$sway")
for _ in $(seq 100); do [ -S "$work/wayland-1" ] && ls "$work"/sway-ipc.*.sock >/dev/null 2>&1 && break; sleep 0.1; done
export SWAYSOCK=$(ls "$work"/sway-ipc.*.sock) WAYLAND_DISPLAY=wayland-1
"${as[@]}" swaymsg output HEADLESS-1 mode 1920x1080 >/dev/null
for speed in 60 100; do
  for program in "${programs[@]}"; do
    measure "$(label Wayland "$program")" "$sway" "$speed" env -u DISPLAY "${as[@]}" "$program"
  done
done
