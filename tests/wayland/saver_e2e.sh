#!/bin/bash
# tessaly on a private headless sway with outputs of 800x600 and 640x480 at
# scale 2: screenshots with grim, keys with wtype, the pointer with swaymsg.
# Usage: saver_e2e.sh CASE, with TESSALY, VIRTUAL_POINTER and ARTEFACTS set.
set -u
CASE=${1:?usage: saver_e2e.sh CASE}
DESKTOP='#204060'
BACKGROUND="output * bg $DESKTOP solid_color"
# The wallpaper's background layer is swaybg's too, and swaybg's surface
# would cover it: there the desktop is sway's own (grey in 1.7, black in 1.10),
# read off a screenshot before the wallpaper starts.
[ "$CASE" = wallpaper ] && BACKGROUND='swaybg_command -'
. "$(dirname "$0")/../support/session.sh"
require sway swaymsg grim wtype convert compare identify python3

printf 'xwayland disable\n%s\n' "$BACKGROUND" >"$WORK/config" && chmod 644 "$WORK/config"
export WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1
launch sway.log sway -c "$WORK/config" && SWAY=$!
until_ok 30 eval 'SWAYSOCK=$(ls "$WORK"/sway-ipc.*.sock 2>/dev/null) && [ -S "$WORK/wayland-1" ]'
[ -n "$SWAYSOCK" ] || fail "sway did not start: $(tail -n3 "$WORK/sway.log")"
export SWAYSOCK WAYLAND_DISPLAY=wayland-1
msg() { as swaymsg "$@" >/dev/null || fail "swaymsg $*"; }
cursor() { msg seat - cursor "$@"; }
msg create_output
msg output HEADLESS-1 mode 800x600 position 0 0
msg output HEADLESS-2 mode 640x480 scale 2 position 800 0
launch pointer.log "$VIRTUAL_POINTER"
until_ok 30 grep -qs ready "$WORK/pointer.log"
# A keyboard from the start, so every client has bound its own before wtype's
# keyboard comes, whose first press would otherwise reach no one.
launch keyboard.log wtype -s 3600000
until_ok 30 eval 'as swaymsg -t get_inputs | grep -q "\"type\": \"keyboard\""' || fail "no keyboard in the seat"

# shot OUTPUT NAME: a screenshot of one output, kept as an artefact.
shot() { as grim -o "$1" "$WORK/$2.png" || fail "grim -o $1"; cp "$WORK/$2.png" "$ARTEFACTS/$CASE-$2.png"; }
# covered OUTPUT: the saver is on OUTPUT and has drawn on it (over the desktop it captured, or black).
covered() {
    shot "$1" "$1" && [ "$(count "$WORK/$1.png" "$DESKTOP")" -gt 2000 ] && [ "$(count "$WORK/$1.png" black)" -gt 500 ]
}
painted() { until_ok 30 covered "$1" || fail "$1 was not covered and painted"; }
saver() { start /s --seed 7 --speed 95; painted HEADLESS-1; painted HEADLESS-2; }
# garden IMAGE [OPTIONS] OUT: white where IMAGE shows the garden.
garden() { convert "$1" -fill black -opaque "$DESKTOP" -fill white +opaque black "${@:2}"; }
# erased BEFORE AFTER: the per cent of BEFORE's garden (neither desktop nor
# black) that is desktop or black in AFTER. What the saver draws meanwhile
# covers the garden but erases little of it: only its black outlines count.
erased() {
    garden "$1" "$WORK/garden.png" && garden "$2" -negate "$WORK/bare.png"
    convert "$WORK/garden.png" "$WORK/bare.png" -compose multiply -composite "$WORK/erased.png"
    convert "$WORK/erased.png" "$WORK/garden.png" -format '%[fx:mean]\n' info: | paste -sd' ' |
        awk '{ print ($2 > 0 ? int(100 * $1 / $2) : 100) }'
}
# cputime: tessaly's CPU time so far, in clock ticks.
cputime() { awk '{print $14 + $15}' "/proc/$SAVER/stat"; }
# offers INTERFACE: sway offers that global (sway 1.10 has fractional scales, 1.7 not).
offers() { WAYLAND_DEBUG=1 as grim -o HEADLESS-1 /dev/null 2>&1 | grep -q "global(.*\"$1\""; }
# first N [OPTIONS]: the saver has drawn on HEADLESS-N since shot beforeN; the shot is firstN.
first() { shot HEADLESS-$1 first$1 && [ "$(differ "$WORK/before$1.png" "$WORK/first$1.png")" -gt 50 ]; }
# spans OUTPUT NAME: a screenshot shows something drawn near the right edge (the garden spans the output).
spans() { shot "$1" "$2" && [ "$(count "$WORK/$2.png" black -gravity East -crop 15%x15%+0+0)" -gt 200 ]; }

case $CASE in
outputs)
    cursor set 700 20  # a corner the first drawings leave as the desktop was
    saver && until_ok 30 eval 'shot HEADLESS-1 wide && [ "$(count "$WORK/wide.png" "$DESKTOP" -crop 24x24+700+20)" = 0 ]' ||
        fail "the pointer shows over the saver"
    until_ok 30 spans HEADLESS-1 wide || fail "the garden of HEADLESS-1 is not mapped onto all of it"
    shot HEADLESS-2 scaled
    convert "$WORK/wide.png" -crop 640x480+0+0 +repage "$WORK/corner.png"
    [ "$(differ "$WORK/corner.png" "$WORK/scaled.png")" -gt 10000 ] || fail "the two outputs show the same garden"
    # Drawn in buffer pixels: the scale-2 output is no 320x240 picture doubled.
    convert "$WORK/scaled.png" -sample 50% -sample 200% "$WORK/doubled.png"
    [ "$(differ "$WORK/scaled.png" "$WORK/doubled.png")" -gt 1000 ] || fail "HEADLESS-2 is painted at half its resolution"
    kill -TERM "$SAVER" && ends 143 SIGTERM
    # Only the pointer is left on the desktop, and it shows again.
    shot HEADLESS-1 after
    [ "$(count "$WORK/after.png" "$DESKTOP")" -lt 1000 ] || fail "a surface outlived the saver"
    [ "$(count "$WORK/after.png" "$DESKTOP" -crop 24x24+700+20)" -gt 20 ] || fail "the pointer stays hidden"
    # With sway stopped its start-up waits for ever, yet SIGTERM ends it within a second.
    kill -STOP "$SWAY" && until_ok 20 grep -q '^[0-9]* (sway) T ' "/proc/$SWAY/stat" || fail "sway did not stop"
    for mode in /s --wallpaper; do
        start $mode && sleep 1 && sent=$(date +%s%N) && kill -TERM "$SAVER" && ends 143 "SIGTERM to $mode with sway stopped"
        took=$((($(date +%s%N) - sent) / 1000000))
        [ "$took" -le 1000 ] || fail "$mode ended $took ms after SIGTERM with sway stopped, expected within 1000 ms"
    done
    kill -CONT "$SWAY"
    ;;
key)
    # On two outputs, every time.
    for run in $(seq 20); do saver && as wtype a && ends 0 "the first key, run $run"; done
    ;;
pointer)
    saver && cursor move 5 5 && running "the first move"
    for wheel in button4 button5 button6 button7; do cursor press $wheel; done
    running "the wheel"
    cursor move 1 0 && ends 0 "the second move"
    ;;
buttons)
    for button in button1 button2 button3 button8; do saver && cursor press $button && ends 0 "$button"; done
    ;;
hotplug)
    saver
    msg create_output
    msg output HEADLESS-3 mode 640x480 position 0 800
    painted HEADLESS-3
    # Room to grow into: a screenshot of an output shows the outputs it overlaps.
    msg output HEADLESS-2 position 1100 0 && msg output HEADLESS-1 mode 1024x768
    # The mode takes effect some frames after swaymsg returns: wait for a shot of the new size.
    until_ok 30 eval 'spans HEADLESS-1 grown && [ "$(identify -format %wx%h "$WORK/grown.png")" = 1024x768 ]' ||
        fail "the area HEADLESS-1 gained stays unpainted"
    until_ok 10 eval 'shot HEADLESS-1 grown && [ "$(count "$WORK/grown.png" "$DESKTOP" -crop 224x768+800+0)" = $((224 * 768)) ]' ||
        fail "the surface did not grow"
    msg output HEADLESS-3 disable && running "removing an output"
    kill -INT "$SAVER" && ends 130 SIGINT
    ;;
dialog)
    # The settings dialog's live preview, drawn through GTK's Wayland backend.
    start /c --backend wayland --seed 7
    until_ok 30 eval 'shot HEADLESS-1 dialog1 && [ "$(count "$WORK/dialog1.png" "$DESKTOP")" -gt 10000 ]' || fail "no dialog shows"
    until_ok 30 eval 'sleep 1; shot HEADLESS-1 dialog2 && [ "$(differ "$WORK/dialog1.png" "$WORK/dialog2.png")" -gt 50 ]' ||
        fail "the preview does not move"
    as wtype -k Escape && ends 0 "Escape"
    [ ! -e "$WORK/config.d/tessaly/tessaly.ini" ] || fail "Cancel wrote the settings file"
    ;;
fallback)
    # A compositor without layer shell (weston): a full-screen window instead.
    # Weston keeps its panel over a full-screen window without keyboard focus,
    # which a headless weston never gives: its shell runs without the panel,
    # and the window must hide the whole desktop.
    require weston weston-screenshooter
    printf '[shell]\npanel-position=none\nbackground-color=0xff%s\n' "${DESKTOP#\#}" >"$WORK/weston.ini"
    chmod 644 "$WORK/weston.ini"
    launch weston.log weston --config="$WORK/weston.ini" --backend=headless-backend.so --use-pixman \
        --socket=wayland-9 --debug --width=640 --height=480
    until_ok 30 test -S "$WORK/wayland-9" || fail "weston did not start"
    WAYLAND_DISPLAY=wayland-9 start /s --seed 7
    full() { [ "$(count "$ARTEFACTS/$CASE.png" "$DESKTOP")" = $((640 * 480)) ]; }
    weston_shot() {
        rm -f "$WORK"/wayland-screenshot-*.png && (cd "$WORK" && WAYLAND_DISPLAY=wayland-9 as weston-screenshooter) &&
            cp "$WORK"/wayland-screenshot-*.png "$ARTEFACTS/$CASE.png" && full && [ "$(count "$ARTEFACTS/$CASE.png" black)" -gt 500 ]
    }
    until_ok 30 weston_shot || { full && fail "the full-screen window is not painted"; } ||
        fail "the desktop shows beside the window: not full screen ($ARTEFACTS/$CASE.png)"
    grep -q 'falling back to a full-screen window' "$WORK/tessaly.log" || fail "no word of the fallback"
    kill -TERM "$SAVER" && ends 143 SIGTERM
    ;;
scale)
    # A change of scale keeps the picture, both ways. A loss erases three
    # quarters of it; the garden drawn meanwhile, on a slow machine too, a few per cent.
    start /s --seed 7 && painted HEADLESS-2 && sleep 2
    for scale in 1 2; do
        shot HEADLESS-2 before && msg output HEADLESS-2 scale $scale
        until_ok 30 eval 'shot HEADLESS-2 after && [ "$(erased "$WORK/before.png" "$WORK/after.png")" -le 25 ]' ||
            fail "scale $scale lost the picture"
    done
    kill -TERM "$SAVER" && ends 143 SIGTERM
    ;;
capture)
    # Over the screen as it was: a known picture stays under the first
    # figures, turned the right way on a turned or flipped output (the
    # capture is the screen as it is scanned out). Gradients across and
    # down: every turn and flip of it differs.
    convert -size 800x600 -depth 8 gradient:'#c04000-#0040c0' \( -size 600x800 gradient:'#000000-#00c000' -rotate -90 \) \
        -compose plus -composite "$WORK/desktop.png" && chmod 644 "$WORK/desktop.png"
    msg output HEADLESS-1 bg "$WORK/desktop.png" stretch
    until_ok 30 eval 'shot HEADLESS-1 before1 && [ "$(differ -fuzz 2% "$WORK/desktop.png" "$WORK/before1.png")" -lt 1000 ]' ||
        fail "sway does not show the picture"
    for turn in normal 90 180 270 flipped flipped-90; do
        msg output HEADLESS-1 transform $turn
        case $turn in *90 | *270) size=600x800 ;; *) size=800x600 ;; esac
        # Turned, and the desktop drawn anew at the new size: two shots alike.
        settled() { shot HEADLESS-1 before1 && sleep 0.5 && shot HEADLESS-1 again && [ "$(differ "$WORK/before1.png" "$WORK/again.png")" = 0 ]; }
        until_ok 30 eval 'settled && [ "$(identify -format %wx%h "$WORK/before1.png")" = $size ]' ||
            fail "sway did not turn HEADLESS-1 to $turn"
        shot HEADLESS-2 before2 && start /s --seed 7 --build --speed 0
        for n in 1 2; do
            until_ok 30 first $n || fail "the saver drew nothing on HEADLESS-$n ($turn)"
            [ "$(differ "$WORK/before$n.png" "$WORK/first$n.png")" -lt 20000 ] ||
                fail "HEADLESS-$n turned $turn does not start from its picture: $(differ "$WORK/before$n.png" "$WORK/first$n.png") pixels differ ($ARTEFACTS/$CASE-first$n.png)"
        done
        kill -TERM "$SAVER" && ends 143 SIGTERM
    done
    ;;
turn)
    # Turning an output is a change of size: a block of the picture keeps
    # its size and place (none of it is scaled), both ways.
    convert -size 800x600 xc:"$DESKTOP" -fill '#0bd5a3' -draw 'rectangle 40,40 209,424' "$WORK/desktop.png" &&
        chmod 644 "$WORK/desktop.png" && msg output HEADLESS-1 bg "$WORK/desktop.png" stretch
    until_ok 30 eval 'shot HEADLESS-1 before1 && [ "$(count "$WORK/before1.png" "$DESKTOP")" -gt 60000 ]' ||
        fail "sway does not show the block"
    block() { convert "$WORK/$1.png" -fill black +opaque '#0bd5a3' -trim -format '%wx%h%X%Y' info:; }
    WAYLAND_DEBUG=1 start /s --seed 7 --build --speed 0 && until_ok 30 first 1 || fail "the saver drew nothing"
    for turned in 90:600x800 normal:800x600; do
        # Shown once the saver has made buffers of the new size (the protocol log says when).
        made=$(buffers "$WORK/tessaly.log" | grep -c "^${turned#*:}\$")
        msg output HEADLESS-1 transform "${turned%:*}"
        until_ok 30 eval '[ "$(buffers "$WORK/tessaly.log" | grep -c "^${turned#*:}\$")" -gt "$made" ]' ||
            fail "the saver did not take up the turn to ${turned%:*}"
        until_ok 10 eval 'shot HEADLESS-1 turned && [ "$(block turned)" = 170x385+40+40 ]' ||
            fail "turned ${turned%:*}, the block is $(block turned), expected 170x385+40+40 ($ARTEFACTS/$CASE-turned.png)"
    done
    kill -TERM "$SAVER" && ends 143 SIGTERM
    ;;
limit)
    # 7680x4320 at scale 1.25 beside a normal output. With fractional scales
    # its buffer is the screen's 7680x4320 pixels and it is covered; with the
    # integer scale (2) it would be 12288x6912, beyond the picture limit: it
    # is left uncovered, said in one line, and the other output has its garden.
    msg output HEADLESS-2 mode 7680x4320 scale 1.25
    start /s --seed 7 --speed 95 && painted HEADLESS-1
    if offers wp_fractional_scale_manager_v1 && offers wp_viewporter; then
        painted HEADLESS-2 && [ ! -s "$WORK/tessaly.log" ] || fail "HEADLESS-2 at its screen's pixels was not covered in silence"
    else
        [ "$(wc -l <"$WORK/tessaly.log")" = 1 ] && grep -q '^tessaly: cannot cover output HEADLESS-2: .*12288x6912' "$WORK/tessaly.log" ||
            fail "no one-line word of HEADLESS-2 beyond the picture limit"
    fi
    as wtype a && ends 0 "a key"
    ;;
hidden)
    # A sway in a window of this one: hidden on another workspace, it sends
    # the saver no frames, and the saver takes no CPU until it is shown again.
    mkdir -m 700 "$WORK/nest" && chown --reference="$WORK" "$WORK/nest"
    nested=(env XDG_RUNTIME_DIR="$WORK/nest" WAYLAND_DISPLAY=wayland-1)
    launch nested.log env XDG_RUNTIME_DIR="$WORK/nest" WAYLAND_DISPLAY="$WORK/wayland-1" WLR_BACKENDS=wayland \
        sway -c "$WORK/config"
    until_ok 30 test -S "$WORK/nest/wayland-1" || fail "the nested sway did not start"
    launch tessaly.log "${nested[@]}" "$TESSALY" /s --seed 7 --speed 95 --stats && SAVER=$!
    paints() { awk '/stats/ { n++; p = $6 } END { print n + 0, p + 0 }' "$WORK/tessaly.log"; }
    until_ok 30 eval '[ "$(paints | cut -d" " -f2)" -gt 0 ]' || fail "the nested saver does not paint"
    msg workspace 9
    # Seen, it prints a stats line every second; out of sight, none. (CPU time
    # alone, in clock ticks, stays still for a while even while it ticks.)
    quiet() { local n a && n=$(paints) && a=$(cputime) && sleep 1.5 && [ "$n" = "$(paints)" ] && [ "$a" = "$(cputime)" ]; }
    until_ok 30 quiet || fail "hidden, the saver works on"
    a=$(cputime) && sleep 10 && [ $(($(cputime) - a)) -le 1 ] || fail "hidden, the saver took CPU"
    lines=$(paints | cut -d" " -f1) && msg workspace 1
    # Its own variables: a `set --` here would take until_ok's arguments.
    resumed() { local n p && read -r n p <<<"$(paints)" && [ "$n" -gt "$lines" ] && [ "$p" -gt 0 ]; }
    until_ok 30 resumed || fail "shown again, it does not paint"
    kill -TERM "$SAVER" && ends 143 SIGTERM
    ;;
wallpaper)
    shot HEADLESS-1 bare && DESKTOP=$(convert "$WORK/bare.png" -format %c histogram:info:- | sort -rn | grep -om1 '#[0-9A-F]\{6\}')
    # The background layer of every output; keys and the pointer pass it by.
    start --wallpaper --seed 7 --speed 95 && painted HEADLESS-1 && painted HEADLESS-2
    cursor move 5 5 && cursor move 9 9 && cursor press button1 && as wtype a && running "input"
    # Under the windows: the settings dialog floats over it.
    launch dialog.log "$TESSALY" /c --backend wayland && dialog=$!
    until_ok 30 eval 'shot HEADLESS-1 dialog && [ "$(count "$WORK/dialog.png" "#f6f5f4" -crop 150x40+450+250)" = 0 ]' ||
        fail "the dialog is not over the wallpaper"
    kill "$dialog" && kill -TERM "$SAVER" && ends 143 SIGTERM
    # A lock screen's way: a socket handed over, no WAYLAND_DISPLAY, one output named.
    python3 -c '
import os, socket, sys
s = socket.socket(socket.AF_UNIX)
s.connect(sys.argv[1])
os.set_inheritable(s.fileno(), True)
env = {k: v for k, v in os.environ.items() if k != "WAYLAND_DISPLAY"}
env.update(WAYLAND_SOCKET=str(s.fileno()), SWAYLOCK_PLUGIN_OUTPUT_NAME="HEADLESS-2", WAYLAND_DEBUG="1")
os.execvpe(sys.argv[2], sys.argv[2:], env)' "$WORK/wayland-1" "${AS[@]}" "$TESSALY" --wallpaper --seed 7 >"$WORK/tessaly.log" 2>&1 &
    SAVER=$! && PIDS+=($SAVER) && painted HEADLESS-2 && sleep 1 && shot HEADLESS-1 alone
    [ "$(grep -c 'get_layer_surface' "$WORK/tessaly.log")" = 1 ] && [ "$(count "$WORK/alone.png" "$DESKTOP")" -lt 1000 ] ||
        fail "HEADLESS-1 was covered too ($(grep -c 'get_layer_surface' "$WORK/tessaly.log") layer surfaces, $ARTEFACTS/$CASE-alone.png)"
    ! grep -E 'bind\(.*"(wl_seat|xdg_wm_base)"' "$WORK/tessaly.log" || fail "the wallpaper binds a seat or xdg-shell"
    kill -INT "$SAVER" && ends 130 SIGINT
    # An output name no output has: said in one line with the names there are; covered once it appears.
    SWAYLOCK_PLUGIN_OUTPUT_NAME=HEADLESS-3 start --wallpaper --seed 7
    said() { grep "no output is named 'HEADLESS-3'" "$WORK/tessaly.log" | grep "'HEADLESS-1'" | grep -q "'HEADLESS-2'"; }
    until_ok 30 said || fail "no line naming HEADLESS-3 and the outputs HEADLESS-1 and HEADLESS-2"
    [ "$(wc -l <"$WORK/tessaly.log")" = 1 ] || fail "more than one line about the missing output"
    msg create_output && msg output HEADLESS-3 mode 640x480 position 0 800 && painted HEADLESS-3
    kill -TERM "$SAVER" && ends 143 SIGTERM
    ;;
*) fail "unknown case $CASE" ;;
esac
echo "PASS: $CASE"
