#!/bin/bash
# End-to-end tests of tessaly /s on Wayland: a private headless sway with two
# outputs (800x600, and 640x480 at scale 2), screenshots with grim, keys with
# wtype, the pointer with swaymsg.  Usage: saver_e2e.sh CASE
# Environment: TESSALY (the program), VIRTUAL_POINTER (gives the seat a
# pointer), ARTEFACTS (folder for screenshots and logs).
set -u
CASE=${1:?usage: saver_e2e.sh CASE}
DESKTOP='#204060'

skip() {
    [ "${CI:-}" = true ] && { echo "FAIL: $1 (nothing may be skipped in CI)"; exit 1; }
    echo "SKIP: $1"; exit 77
}
fail() { echo "FAIL: $*"; sed 's/^/  tessaly: /' "$WORK/tessaly.log" 2>/dev/null; exit 1; }
for tool in sway swaymsg grim wtype convert compare; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed (apt-get install sway grim wtype imagemagick)"
done

# Sway refuses to run as root: the compositor and its clients run as nobody,
# with a runtime folder and home of their own.
WORK=$(mktemp -d "${TMPDIR:-/tmp}/tessaly-wayland.XXXXXX")
chmod 700 "$WORK"
AS=()
if [ "$(id -u)" = 0 ]; then
    chown nobody:nogroup "$WORK"
    AS=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
PIDS=()
cleanup() {
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
mkdir -p "$ARTEFACTS"
printf 'xwayland disable\noutput * bg %s solid_color\n' "$DESKTOP" >"$WORK/config"
chmod 644 "$WORK/config"
export XDG_RUNTIME_DIR=$WORK HOME=$WORK XDG_CONFIG_HOME=$WORK/config.d NO_AT_BRIDGE=1 \
    WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1
unset DISPLAY WAYLAND_DISPLAY SWAYSOCK
as() { timeout 20 "${AS[@]}" "$@"; }

"${AS[@]}" sway -c "$WORK/config" >"$WORK/sway.log" 2>&1 &
PIDS+=($!)
for _ in $(seq 100); do
    SWAYSOCK=$(ls "$WORK"/sway-ipc.*.sock 2>/dev/null) && [ -S "$WORK/wayland-1" ] && break
    sleep 0.1
done
[ -n "$SWAYSOCK" ] || fail "sway did not start: $(tail -n3 "$WORK/sway.log")"
export SWAYSOCK WAYLAND_DISPLAY=wayland-1
msg() { as swaymsg "$@" >/dev/null || fail "swaymsg $*"; }
msg create_output
msg output HEADLESS-1 mode 800x600 position 0 0
msg output HEADLESS-2 mode 640x480 scale 2 position 800 0
"${AS[@]}" "$VIRTUAL_POINTER" >"$WORK/pointer.log" 2>&1 &
PIDS+=($!)
for _ in $(seq 50); do grep -q ready "$WORK/pointer.log" && break; sleep 0.1; done

# shot OUTPUT NAME: a screenshot of one output, kept as an artefact.
shot() {
    as grim -o "$1" "$WORK/$2.png" || fail "grim -o $1"
    cp "$WORK/$2.png" "$ARTEFACTS/$CASE-$2.png"
}
# count FILE COLOUR: how many pixels differ from COLOUR.
count() {
    convert "$1" -fill "$2" -colorize 100 "$WORK/solid.png"
    compare -metric AE "$1" "$WORK/solid.png" null: 2>&1
}
# painted OUTPUT: waits until the saver covers OUTPUT (no desktop left) and
# has drawn on it, or fails.
painted() {
    for _ in $(seq 60); do
        shot "$1" "$1"
        [ "$(count "$WORK/$1.png" "$DESKTOP")" = "$(identify -format '%[fx:w*h]' "$WORK/$1.png")" ] &&
            [ "$(count "$WORK/$1.png" black)" -gt 500 ] && return 0
        sleep 0.25
    done
    fail "$1 was not covered and painted"
}
start() {
    "${AS[@]}" "$TESSALY" /s --seed 7 --speed 95 "$@" >"$WORK/tessaly.log" 2>&1 &
    SAVER=$!
    PIDS+=($SAVER)
    painted HEADLESS-1
    painted HEADLESS-2
}
running() { sleep 1; kill -0 "$SAVER" 2>/dev/null || fail "$* ended the saver"; }
# ends CODE WHAT: the saver ends within 5 s with status CODE (128 + signal).
ends() {
    for _ in $(seq 50); do kill -0 "$SAVER" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$SAVER" 2>/dev/null && fail "$2 did not end it"
    wait "$SAVER"
    local status=$?
    [ "$status" = "$1" ] || fail "$2: status $status, expected $1"
}
cursor() { msg seat - cursor "$@"; }

case $CASE in
outputs)
    cursor set 700 20  # a corner the first drawings leave dark
    start
    sleep 2
    shot HEADLESS-1 wide && shot HEADLESS-2 scaled
    convert "$WORK/wide.png" -crop 24x24+700+20 +repage "$WORK/pointer.png"
    [ "$(count "$WORK/pointer.png" black)" = 0 ] || fail "the pointer shows over the saver"
    convert "$WORK/wide.png" -crop 640x480+0+0 +repage "$WORK/corner.png"
    [ "$(compare -metric AE "$WORK/corner.png" "$WORK/scaled.png" null: 2>&1)" -gt 10000 ] ||
        fail "the two outputs show the same garden"
    # Each garden is mapped onto its own whole output.
    for side in East South; do
        convert "$WORK/wide.png" -gravity $side -crop 15%x15%+0+0 +repage "$WORK/edge.png"
        [ "$(count "$WORK/edge.png" black)" -gt 200 ] || fail "nothing drawn near the $side edge of HEADLESS-1"
    done
    # Drawn in buffer pixels: the scale-2 output is no 320x240 picture doubled.
    convert "$WORK/scaled.png" -sample 50% -sample 200% "$WORK/doubled.png"
    [ "$(compare -metric AE "$WORK/scaled.png" "$WORK/doubled.png" null: 2>&1)" -gt 1000 ] ||
        fail "HEADLESS-2 is painted at half its resolution"
    kill -TERM "$SAVER"
    ends 143 SIGTERM
    shot HEADLESS-1 after
    # Only the pointer is left on the desktop, and it shows again.
    [ "$(count "$WORK/after.png" "$DESKTOP")" -lt 1000 ] || fail "a surface outlived the saver"
    convert "$WORK/after.png" -crop 24x24+700+20 +repage "$WORK/pointer.png"
    [ "$(count "$WORK/pointer.png" "$DESKTOP")" -gt 20 ] || fail "no pointer to be seen after the saver"
    ;;
key)
    start
    as wtype -s 500 a  # time for the client to take the new keyboard
    ends 0 "a key"
    ;;
pointer)
    start
    cursor move 5 5
    running "the first move"
    for wheel in button4 button5 button6 button7; do cursor press $wheel; done
    running "the wheel"
    cursor move 1 0
    ends 0 "the second move"
    ;;
buttons)
    for button in button1 button2 button3 button8; do
        start
        cursor press $button
        ends 0 "$button"
    done
    ;;
hotplug)
    start
    msg create_output
    msg output HEADLESS-3 mode 640x480 position 0 600
    painted HEADLESS-3
    # An output that grows: the new area is painted, mapped to the new size.
    msg output HEADLESS-1 mode 1024x768
    sleep 2
    shot HEADLESS-1 grown
    convert "$WORK/grown.png" -gravity East -crop 15%x15%+0+0 +repage "$WORK/edge.png"
    [ "$(count "$WORK/edge.png" black)" -gt 200 ] || fail "the area HEADLESS-1 gained stays unpainted"
    msg output HEADLESS-3 disable
    running "removing an output"
    kill -INT "$SAVER"
    ends 130 SIGINT
    ;;
dialog)
    # The settings dialog's live preview, drawn through GTK's Wayland backend.
    "${AS[@]}" "$TESSALY" /c --backend wayland --seed 7 >"$WORK/tessaly.log" 2>&1 &
    SAVER=$!
    PIDS+=($SAVER)
    sleep 3
    shot HEADLESS-1 dialog1
    sleep 1
    shot HEADLESS-1 dialog2
    [ "$(compare -metric AE "$WORK/dialog1.png" "$WORK/dialog2.png" null: 2>&1)" -gt 50 ] ||
        fail "the preview does not move"
    as wtype -s 500 -k Escape
    ends 0 "Escape"
    [ ! -e "$WORK/config.d/tessaly/tessaly.ini" ] || fail "Cancel wrote the settings file"
    ;;
*) fail "unknown case $CASE" ;;
esac
echo "PASS: $CASE"
