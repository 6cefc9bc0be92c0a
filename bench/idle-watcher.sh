#!/usr/bin/env bash
# The idle watcher (tessaly --idle) on each desktop of its end-to-end tests
# (tests/idle/desktops.sh: X11, sway, GNOME, KWin): while the user is active
# (one real input a second for SECONDS), its wake-ups a minute (voluntary
# context switches, /proc/PID/status) and its resident memory (VmRSS); then
# over ROUNDS idle periods, the time from the idle moment (the last input,
# counted from the start of its command, plus the wait) to the first figure
# of the garden on the screen: the first
# screenshot that differs from the desktop (X11, sway, KWin), on GNOME (and
# KWin without screenshots) the saver's first paint after its black start,
# by its protocol log's clock.
# Not a test: the goals (no wake-up, at most 5 MB, at most a second) are
# measured here, never asserted.
# Usage: bench/idle-watcher.sh [BUILD_DIR] [SECONDS] [ROUNDS] [x11 sway gnome kwin]
set -u
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
seconds=${2:-60}
rounds=${3:-3}
desktops=("${@:4}")
[ ${#desktops[@]} -gt 0 ] || desktops=(x11 sway gnome kwin)
export TESSALY=$build/platform/linux/tessaly BUS_CLIENT=$build/tests/idle/bus_client
export KWIN_INPUT=$build/tests/wayland/kwin_input KWIN_SCREENSHOT=$build/tests/wayland/kwin_screenshot
export ARTEFACTS=$build/bench-artefacts/idle
WAIT=5

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# measure: in a subshell of its own per desktop, which ends it.
measure() {
    . tests/support/session.sh
    unset DBUS_SESSION_BUS_ADDRESS XDG_SESSION_ID XDG_CURRENT_DESKTOP
    . tests/idle/desktops.sh
    desktop_start >/dev/null
    # snap FILE: the screen (the first output) as fast as it can be had, for
    # looking at afterwards.
    case $CASE in
    x11) snap() { as xwd -root -silent -out "$1.xwd"; } ;;
    sway) snap() { as grim -t ppm -o HEADLESS-1 "$1.ppm"; } ;;
    kwin) snap() { $KWIN_SHOTS && as "$KWIN_SCREENSHOT" Virtual-0 "$1.png" >/dev/null; } ;;
    gnome) snap() { :; } ;;
    esac
    [ "$CASE" = gnome ] || [ "$CASE" = kwin ] && WATCHER_ENV=(WAYLAND_DEBUG=client)
    launch watcher.log env "${WATCHER_ENV[@]}" "$TESSALY" --idle --wait ${WAIT}s --stats && WATCHER=$!
    until_ok 20 grep -qs 'stats watching' "$WORK/watcher.log" || fail "the watcher did not start"
    # The baseline beside it on sway, where installed: swayidle with a wait as long.
    local baseline=
    if [ "$CASE" = sway ] && command -v swayidle >/dev/null; then
        launch swayidle.log swayidle timeout "$WAIT" true && baseline=$!
    fi
    switches() { awk '/^voluntary_ctxt_switches/ {print $2}' "/proc/$1/status"; }
    rss() { awk '/^VmRSS/ {print $2}' "/proc/$1/status"; }

    # Active: one input a second.
    poke && local before=$(switches $WATCHER) start=$(now_ms)
    local baseline_before=${baseline:+$(switches $baseline)}
    for ((i = 0; i < seconds; i++)); do poke >/dev/null || fail "no input"; sleep 1; done
    local after=$(switches $WATCHER) took=$(($(now_ms) - start))
    local rss=$(rss $WATCHER)
    [ -z "$baseline" ] || printf '%-6s swayidle beside it: %.1f wake-ups/min, RSS %d kB\n' "$CASE" \
        "$(awk -v n=$(($(switches $baseline) - baseline_before)) -v t="$took" 'BEGIN { print 60000 * n / t }')" \
        "$(rss $baseline)"
    no_saver || fail "the garden came while the user was active"

    # Idle: the idle moment, then screenshots until 1.5 s after the saver started.
    local latencies=()
    for ((round = 1; round <= rounds; round++)); do
        rm -f "$WORK"/snap-*
        # The last input lands somewhere within poke: counting from its
        # start makes each figure an upper bound.
        local poked=$(now_ms)
        poke && local idle_at=$((poked + WAIT * 1000)) seen_at=
        # Nothing to see before the idle moment: the shots begin just before it.
        sleep "$(awk -v ms=$((idle_at - $(now_ms) - 300)) 'BEGIN { print (ms > 0 ? ms / 1000 : 0) }')"
        until [ -n "$seen_at" ] && [ $(($(now_ms) - seen_at)) -ge 1500 ]; do
            local at=$(now_ms)
            snap "$WORK/snap-$at"
            [ -z "$seen_at" ] && [ -n "$(saver)" ] && seen_at=$at
            [ $((at - idle_at)) -lt 30000 ] || fail "no garden 30 s after the idle moment"
        done
        local first=
        if [ "$CASE" = gnome ] || ! ls "$WORK"/snap-* >/dev/null 2>&1; then
            # The protocol log's clock: CLOCK_REALTIME in microseconds, cut to
            # 32 bits by libwayland before 1.22. A surface's first damage is
            # all of it (its black start), the next its first figure.
            first=$(since_start | tac | awk -v now="$(date +%s%6N)" '
                match($0, /wl_surface[@#][0-9]+\.damage_buffer/) && ++damage[substr($0, RSTART, RLENGTH)] == 2 {
                    t = $0; sub(/^\[ */, "", t); sub(/\].*/, "", t); t += 0  # "[ 430393.490]  -> ..."
                    full = now / 1000; cut = (now % 4294967296) / 1000
                    at = t > 4294967.296 ? t : full - (cut - t + 4294967.296) % 4294967.296
                    printf "%.0f\n", at; exit }')
        else
            for f in $(ls "$WORK"/snap-* | sort -t- -k2 -n); do
                [ "$(count "$f" "$DESKTOP")" -gt 2000 ] && first=${f##*-} && first=${first%.*} && break
            done
        fi
        [ -n "$first" ] && latencies+=($((first - idle_at)))
        poke && until_ok 20 no_saver || fail "input did not end the garden"
    done
    cp "$WORK/watcher.log" "$ARTEFACTS/$CASE-watcher.log"
    printf '%-6s active: %5.1f wake-ups/min over %d s, RSS %d kB; idle moment to the first figure: %s ms\n' \
        "$CASE" "$(awk -v n=$((after - before)) -v t="$took" 'BEGIN { print 60000 * n / t }')" $((took / 1000)) "$rss" \
        "${latencies[*]:-n/a}"
}

for CASE in "${desktops[@]}"; do
    (measure) || echo "$CASE: not measured (exit $?)"
done
