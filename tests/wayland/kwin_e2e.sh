#!/bin/bash
# tessaly on a private KWin (KDE Plasma's compositor) with its virtual
# backend: 1280x720 logical outputs at fractional scales; screenshots through
# KWin's screenshot interface, input through its fake-input device. KWin's
# bare desktop is black, and it has no screen capture: the saver starts black.
# Usage: kwin_e2e.sh CASE, with TESSALY, KWIN_INPUT, KWIN_SCREENSHOT and ARTEFACTS set.
set -u
CASE=${1:?usage: kwin_e2e.sh CASE}
. "$(dirname "$0")/../support/session.sh"
. "$(dirname "$0")/../support/kwin.sh"
require convert compare identify

# Programs run with their protocol log: where KWin gives no screenshots,
# that is what they are seen by.
start() { launch tessaly.log env WAYLAND_DEBUG=1 "$TESSALY" "$@"; SAVER=$!; }
# commits: how many of the program's surfaces have had damage committed 3 times or more.
commits() { grep -o 'wl_surface[@#][0-9]*\.damage_buffer' "$WORK/tessaly.log" | sort | uniq -c | awk '$1 >= 3' | wc -l; }
# painted OUTPUT NAME: a screenshot of OUTPUT (Virtual-N) shows more than the
# black desktop, or without screenshots, N + 1 surfaces have been painted.
drawn() {
    if $KWIN_SHOTS; then kwin_shot "$1" "$2" && [ "$(count "$WORK/$2.png" black)" -gt 2000 ]
    else [ "$(commits)" -gt "${1#Virtual-}" ]; fi
}
painted() { until_ok 30 drawn "$1" "$2" || fail "$1 was not painted ($ARTEFACTS/$CASE-$2.png, or $(commits) surfaces painted)"; }
# colours IMAGE: how many colours it has. The garden's are few (aliased
# figures in a palette); a picture resampled by the compositor has thousands.
colours() { identify -format '%k' "$1"; }

case $CASE in
scales)
    # One garden pixel on each screen pixel: the buffer is the output's
    # mode; at a fractional scale (a mode no whole multiple of the logical
    # size) the viewport is the logical size and the buffer scale 1, at a
    # whole one the integer path. For the saver and the wallpaper, from the
    # protocol log. (KWin 5.27 shows 1280x720 at 1.5 as a 1920x1080 mode;
    # KWin 6.3's virtual backend takes the scale into the mode alone, at scale 1.)
    for scale in 1 1.25 1.5 1.75 2; do
        kwin_start wayland-kde --width 1280 --height 720 --scale "$scale"
        for mode in /s --wallpaper; do
            start $mode --seed 7 --speed 95 && painted Virtual-0 "$scale"
            kill -TERM "$SAVER" && ends 143 "SIGTERM to $mode"
            screen=$(sed -n 's/.*wl_output[@#][0-9]*\.mode(1, \([0-9]*\), \([0-9]*\),.*/\1 \2/p' "$WORK/tessaly.log" | tail -n1)
            logical=$(sed -n 's/.*logical_size(\([0-9]*\), \([0-9]*\)).*/\1 \2/p' "$WORK/tessaly.log" | tail -n1)
            read -r sw sh lw lh <<<"$screen $logical"
            [ -n "$lh" ] || fail "no output's mode and logical size in the protocol log"
            whole=$((sw / lw)) && [ $((lw * whole)) = "$sw" ] && [ $((lh * whole)) = "$sh" ] || whole=
            viewport="set_destination($lw,$lh)" && [ -n "$whole" ] && viewport="no viewport"
            expected="${sw}x$sh; $viewport; set_buffer_scale(${whole:-1})"
            made=$(buffers "$WORK/tessaly.log" | sort -u | paste -sd' ')
            told=$(grep -o 'set_destination([0-9]*, [0-9]*)' "$WORK/tessaly.log" | sort -u | tr -d ' ' | paste -sd' ')
            scales=$(grep -o 'set_buffer_scale([0-9]*)' "$WORK/tessaly.log" | sort -u | paste -sd' ')
            seen="$made; ${told:-no viewport}; $scales"
            [ "$seen" = "$expected" ] || fail "$mode at scale $scale, a ${sw}x$sh screen of ${lw}x$lh: $seen, expected $expected"
            echo "$mode at scale $scale, a ${sw}x$sh screen of ${lw}x$lh: $seen"
        done
        # Sharp: the screen shows the garden's own pixels, not a resampled picture.
        ! $KWIN_SHOTS || [ "$(colours "$WORK/$scale.png")" -lt 400 ] ||
            fail "at scale $scale the screen shows $(colours "$WORK/$scale.png") colours: the garden was resampled ($ARTEFACTS/$CASE-$scale.png)"
        kwin_stop
    done
    ;;
input)
    # On two outputs at 1.5, both covered, each its own garden; a key, a
    # button, a touch each end it, and a motion after the first.
    kwin_start wayland-kde --width 1280 --height 720 --scale 1.5 --output-count 2
    kwin_input_start
    saver() { start /s --seed 7 --speed 95 && painted Virtual-0 left && painted Virtual-1 right; }
    saver
    ! $KWIN_SHOTS || [ "$(differ "$WORK/left.png" "$WORK/right.png")" -gt 10000 ] || fail "the two outputs show the same garden"
    kwin_input key 30 && ends 0 "a key"
    saver && kwin_input button 272 && ends 0 "a button"
    saver && kwin_input touch 300 300 && ends 0 "a touch"
    saver && kwin_input move 5 5 && running "the first motion"
    kwin_input move 5 5 && ends 0 "the second motion"
    ;;
desktop)
    # The settings dialog on GTK's Wayland backend: its preview moves, and
    # Escape cancels and writes nothing. The wallpaper paints both outputs,
    # lets input pass, and the dialog shows over it.
    kwin_start wayland-kde --width 1280 --height 720 --scale 1.5 --output-count 2
    kwin_input_start
    start /c --backend wayland --seed 7
    if $KWIN_SHOTS; then
        until_ok 30 eval 'kwin_shot Virtual-0 dialog1 && [ "$(count "$WORK/dialog1.png" black)" -gt 10000 ]' || fail "no dialog shows"
        until_ok 30 eval 'sleep 1; kwin_shot Virtual-0 dialog2 && [ "$(differ "$WORK/dialog1.png" "$WORK/dialog2.png")" -gt 50 ]' ||
            fail "the preview does not move"
    else  # the preview's frames, committed one after another
        frames() { grep -c 'wl_surface[@#][0-9]*\.commit' "$WORK/tessaly.log"; }
        until_ok 30 eval '[ "$(frames)" -gt 10 ]' || fail "no dialog shows"
        until_ok 30 eval 'n=$(frames); sleep 2; [ "$(frames)" -gt $((n + 3)) ]' || fail "the preview does not move"
    fi
    kwin_input key 1 && ends 0 "Escape"
    [ ! -e "$WORK/config.d/tessaly/tessaly.ini" ] || fail "Cancel wrote the settings file"
    start --wallpaper --seed 7 --speed 95 && painted Virtual-0 left && painted Virtual-1 right
    kwin_input move 5 5 && kwin_input move 9 9 && kwin_input button 272 && kwin_input key 30 && running "input"
    launch dialog.log "$TESSALY" /c --backend wayland && dialog=$!
    ! $KWIN_SHOTS || until_ok 30 eval 'kwin_shot Virtual-0 over && [ "$(pixels "$WORK/over.png" "#f6f5f4")" -gt 10000 ]' ||
        fail "the dialog is not over the wallpaper ($ARTEFACTS/$CASE-over.png)"
    kill "$dialog" && kill -TERM "$SAVER" && ends 143 SIGTERM
    ;;
*) fail "unknown case $CASE" ;;
esac
echo "PASS: $CASE"
