#!/bin/bash
# End-to-end tests of the GTK settings dialog under a private Xvfb, driven
# with xdotool.  Usage: dialog_e2e.sh CASE
# Environment: DRIVER (settings_dialog_driver), WINDOW_TOOL (x_window_tool),
# TESSALY (the tessaly program, for the tessaly-* cases), ARTEFACTS (folder
# for screenshots and logs).
set -u

CASE=${1:?usage: dialog_e2e.sh CASE}
TITLE='^Tessaly Saver$'
ABOUT_TITLE='^About Tessaly Screen Saver$'

. "$(dirname "$0")/../support/skip.sh"
fail() {
    echo "FAIL: $*"
    [ -s "$WORK/stderr" ] && sed 's/^/  program stderr: /' "$WORK/stderr"
    exit 1
}

require Xvfb xdotool import convert

WORK=$(mktemp -d "${TMPDIR:-/tmp}/tessaly-dialog.XXXXXX")
XVFB_PID=
APP_PID=
cleanup() {
    [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null && wait "$APP_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
mkdir -p "$ARTEFACTS"

# A private X server on the first free display number.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
until_ok 30 test -s "$WORK/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$WORK/display")"
unset WAYLAND_DISPLAY  # in a Wayland session GTK would show the dialog there
export NO_AT_BRIDGE=1  # no accessibility bus on a bare X server

# Every X client of the test gets a time limit, so no step can hang and the
# clean-up below always runs.
xdo() { timeout 30 xdotool "$@"; }
import() { timeout 20 env import "$@"; }
window_tool() { timeout 20 "$WINDOW_TOOL" "$@"; }

# start PROGRAM ARGS...: runs it in the background, output kept in $WORK.
start() {
    "$@" >"$WORK/stdout" 2>"$WORK/stderr" &
    APP_PID=$!
}

# wait_window TITLE-REGEX: sets FOUND to the id of the visible window, or fails.
wait_window() {
    FOUND=$(xdo search --sync --onlyvisible --name "$1" 2>/dev/null | head -n1)
    [ -n "$FOUND" ] || fail "no window named $1 appeared"
}

# open_dialog: waits for the settings dialog and gives it the keyboard.
open_dialog() {
    wait_window "$TITLE"
    DIALOG=$FOUND
    xdo windowfocus --sync "$DIALOG"
}
# closed TITLE-REGEX: no visible window has that name.
closed() { ! xdo search --onlyvisible --name "$1" >/dev/null 2>&1; }
# The program's popup menu is a window named after the program.
MENU_TITLE='^settings_dialog_driver$'

# keys KEY...: typed into the focused window, logged with the time.
keys() {
    echo "[$(date +%T.%3N)] keys $*"
    xdo key --delay 40 "$@"
}

# finish: waits for the program to end by itself (at most 30 s), exit code 0.
finish() {
    until_ok 30 eval '! kill -0 "$APP_PID" 2>/dev/null' || fail "the program did not end"
    wait "$APP_PID"
    local status=$?
    APP_PID=
    [ "$status" -eq 0 ] || fail "the program ended with status $status"
}

expect_output() {
    local got
    got=$(cat "$WORK/stdout")
    [ "$got" = "$1" ] || fail "expected '$1', got '$got'"
    echo "ok: $got"
}

shot() { import -window "${2:-root}" "$ARTEFACTS/$CASE-$1.png" || fail "screenshot failed"; }

# Image measures (ImageMagick). bbox_of_change A B: "WxH+X+Y" of the pixels that differ.
bbox_of_change() {
    convert "$1" "$2" -compose difference -composite -threshold 0 -format '%@' info:
}
# share_of_colour IMAGE GEOMETRY COLOUR: the fraction of that area in exactly that colour.
share_of_colour() {
    convert "$1" -crop "$2" +repage -alpha off -transparent "$3" -alpha extract -negate \
        -format '%[fx:mean]' info:
}
pixel_colour() { convert "$1" -format "%[hex:p{$2,$3}]" info:; }

# setting KEY FILE: the value of one key of the settings file.
setting() { sed -n "s/^[[:space:]]*$1[[:space:]]*=[[:space:]]*\([-0-9]*\).*/\1/ip" "$2" | tail -n1; }

# tessaly_settings [TEXT]: a private settings folder for tessaly /c, and FILE
# in it holding TEXT (printf escapes) if given.
tessaly_settings() {
    [ -x "${TESSALY:-}" ] || skip "tessaly is not built"
    export XDG_CONFIG_HOME="$WORK/config"
    FILE="$XDG_CONFIG_HOME/tessaly/tessaly.ini"
    [ $# -eq 0 ] || { mkdir -p "$XDG_CONFIG_HOME/tessaly" && printf '%b' "$1" >"$FILE"; } || fail "could not write $FILE"
}
# expect_stored CYCLE/SPEED/BUILD: what the settings file holds.
expect_stored() {
    local c s b
    c=$(setting cycle_length "$FILE") s=$(setting Speed "$FILE") b=$(setting Build "$FILE")
    [ "$c/$s/$b" = "$1" ] || fail "settings file holds $c/$s/$b, expected $1"
    echo "ok: cycle_length=$c Speed=$s Build=$b"
}
# expect_idle WAIT/LOCK/ENTRY: what the settings file holds for the idle
# watcher, and whether its autostart entry is there (yes or no).
expect_idle() {
    local w l e=no entry="$XDG_CONFIG_HOME/autostart/tessaly-idle.desktop"
    w=$(setting IdleWait "$FILE") l=$(setting LockAfter "$FILE")
    [ -e "$entry" ] && e=yes && { grep -qx 'Exec=tessaly --idle' "$entry" || fail "the autostart entry: $(cat "$entry")"; }
    [ "$w/$l/$e" = "$1" ] || fail "the idle watcher: wait/lock/autostart $w/$l/$e, expected $1"
    [ "$e" = no ] || [ "$(ls -A "$XDG_CONFIG_HOME/autostart")" = tessaly-idle.desktop ] || fail "other files in autostart"
    echo "ok: IdleWait=$w LockAfter=$l autostart=$e"
}
# expect_alone: nothing but the settings file was left in its folder.
expect_alone() {
    [ "$(ls -A "$XDG_CONFIG_HOME/tessaly")" = "tessaly.ini" ] || fail "left other files${1:+ after $1}: $(ls -A "$XDG_CONFIG_HOME/tessaly")"
}

case "$CASE" in
keys-ok)
    # Every key that moves a slider, the check box by Space, then Enter.
    start "$DRIVER" --cycle-length 5 --speed 60 --build 0 --seed 1
    open_dialog
    keys Tab Tab space                                                 # focus: Cancel, check box
    keys Tab End Page_Down Left Home Page_Down Page_Down Right Down Up  # cycle: 30 30 29 1 11 21 22 23 22
    keys Tab Home Page_Up Page_Down Right End Page_Up Up Left          # speed: 1 1 11 12 100 90 89 88
    shot before-ok
    keys Return
    finish
    expect_output "OK cycle_length=22 Speed=88 Build=1"
    ;;
out-of-range-ok)
    # Settings beyond the sliders show at their ends; OK confirms the ends.
    start "$DRIVER" --cycle-length 200 --speed 0 --build 2 --seed 2
    open_dialog
    shot shown
    keys Return
    finish
    expect_output "OK cycle_length=30 Speed=1 Build=1"
    ;;
mnemonic)
    start "$DRIVER" --cycle-length 7 --speed 33 --build 0 --seed 3
    open_dialog
    keys alt+s
    keys Return
    finish
    expect_output "OK cycle_length=7 Speed=33 Build=1"
    ;;
shift-tab)
    # Backwards from OK: About, the idle group's lock, wait and box, then the speed slider.
    start "$DRIVER" --cycle-length 7 --speed 33 --build 0 --seed 3
    open_dialog
    keys shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab Right shift+Tab Left
    keys Return
    finish
    expect_output "OK cycle_length=6 Speed=34 Build=0"
    ;;
escape)
    start "$DRIVER" --cycle-length 9 --speed 50 --build 1 --seed 4
    open_dialog
    keys Tab Tab space Tab End Tab Home
    keys Escape
    finish
    expect_output "CANCEL"
    ;;
cancel-button)
    start "$DRIVER" --cycle-length 9 --speed 50 --build 1 --seed 5
    open_dialog
    keys Tab Tab Tab Page_Down Tab Page_Down
    keys shift+Tab shift+Tab shift+Tab space                          # back to Cancel, press it
    finish
    expect_output "CANCEL"
    ;;
close-box)
    start "$DRIVER" --cycle-length 9 --speed 50 --build 0 --seed 6
    open_dialog
    keys Tab Tab space
    window_tool close "$DIALOG" || fail "could not ask the dialog to close"
    finish
    expect_output "CANCEL"
    ;;
about)
    # The About button (focus: shift+Tab from OK), then OK in the About box;
    # the dialog carries on and is ended with Enter.
    start "$DRIVER" --cycle-length 4 --speed 100 --build 0 --seed 7
    open_dialog
    keys shift+Tab Return
    wait_window "$ABOUT_TITLE"
    ABOUT=$FOUND
    sleep 0.5
    shot about-box "$ABOUT"
    xdo windowfocus --sync "$ABOUT"
    keys Return
    until_ok 30 closed "$ABOUT_TITLE" || fail "the About box stayed open"
    xdo windowfocus --sync "$DIALOG"
    keys Tab Tab Tab Tab Right Return                                 # About -> OK, Cancel, check box, cycle
    finish
    expect_output "OK cycle_length=5 Speed=100 Build=0"
    ;;
menu-about)
    # The dialog's own menu, by the pointer (right click) and by the Menu key.
    start "$DRIVER" --cycle-length 4 --speed 20 --build 0 --seed 8
    open_dialog
    eval "$(xdo getwindowgeometry --shell "$DIALOG")"
    xdo mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 4)) click 3
    wait_window "$MENU_TITLE"
    shot menu
    keys Down Return
    wait_window "$ABOUT_TITLE"
    xdo windowfocus --sync "$FOUND"
    keys Escape
    until_ok 30 closed "$ABOUT_TITLE" || fail "the About box stayed open"
    xdo windowfocus --sync "$DIALOG"
    keys Menu
    wait_window "$MENU_TITLE"
    keys Return                                                       # the keyboard opens it with its item chosen
    wait_window "$ABOUT_TITLE"
    xdo windowfocus --sync "$FOUND"
    keys Return
    until_ok 30 closed "$ABOUT_TITLE" || fail "the About box stayed open"
    xdo windowfocus --sync "$DIALOG"
    keys Escape
    finish
    expect_output "CANCEL"
    ;;
mouse)
    # Clicks in the cycle slider's trough page by 10 towards the pointer; a
    # drag of its thumb tracks the pointer. The slider is found by colour:
    # its filled part (the only one: speed 1 fills nothing, the box is clear)
    # runs from the trough's start to the thumb, the bare trough after it.
    start "$DRIVER" --cycle-length 15 --speed 1 --build 0 --seed 10
    open_dialog
    IMAGE="$ARTEFACTS/$CASE-before.png"
    filled() {  # once the dialog is painted
        shot before && FILL=$(convert "$IMAGE" -alpha off -fill black -fuzz 8% +opaque "#3584E4" -format '%@' info:)
        FW=${FILL%%x*}; [ "$FW" -ge 20 ] 2>/dev/null
    }
    until_ok 30 filled || fail "cannot find the cycle slider ($FILL)"
    REST=${FILL#*+}; START=${REST%%+*}; FY=${REST#*+}; FH=${FILL#*x}; FH=${FH%%+*}
    ROW=$((FY + FH / 2))
    # The trough ends where the dialog's background comes back.
    BG=$(pixel_colour "$IMAGE" $((START - 3)) "$ROW")
    END=$(convert "$IMAGE" -crop "600x1+$START+$ROW" +repage -alpha off txt:- |
        awk -v bg="#$BG" -v x0="$START" 'NR > 1 && $3 == bg { split($1, a, ","); print x0 + a[1]; exit }')
    [ -n "$END" ] || fail "cannot find the end of the cycle slider"
    # The fill ends at the thumb's edge: at 15 of 1..30 that gives the thumb's radius.
    RADIUS=$(((END - START - FW * 29 / 14) / 2))
    echo "cycle trough $START..$END on row $ROW, thumb radius $RADIUS"
    [ "$RADIUS" -ge 3 ] && [ $((END - START)) -ge 60 ] || fail "cannot find the cycle slider's trough"
    thumb_at() { echo $((START + RADIUS + (END - START - 2 * RADIUS) * ($1 - 1) / 29)); }
    xdo mousemove $((END - 3)) "$ROW" click 1     # 15 -> 25
    sleep 0.4
    xdo mousemove $((END - 3)) "$ROW" click 1     # 25 -> 30
    sleep 0.4
    xdo mousemove $((START + 2)) "$ROW" click 1   # 30 -> 20
    sleep 0.4
    shot clicked
    xdo mousemove "$(thumb_at 20)" "$ROW" mousedown 1
    sleep 0.2
    xdo mousemove "$(thumb_at 15)" "$ROW"
    sleep 0.2
    xdo mousemove "$(thumb_at 10)" "$ROW"
    sleep 0.2
    xdo mouseup 1
    sleep 0.3
    xdo windowfocus --sync "$DIALOG"
    keys Return
    finish
    got=$(cat "$WORK/stdout")
    # Pixels to positions may round either way by one.
    [[ $got =~ ^OK\ cycle_length=(9|10|11)\ Speed=1\ Build=0$ ]] || fail "expected the cycle slider at 10 after the drag, got '$got'"
    echo "ok: $got"
    ;;
preview)
    # The preview draws the garden, keeps drawing, and keeps what it drew
    # when the dialog is covered and uncovered.
    start "$DRIVER" --cycle-length 5 --speed 100 --build 0 --seed 9
    open_dialog
    A="$ARTEFACTS/$CASE-1.png" B="$ARTEFACTS/$CASE-2.png" C="$ARTEFACTS/$CASE-3-uncovered.png"
    # Two shots a second apart differ over the preview, and the garden covers much of it.
    drawn() {
        shot 1 "$DIALOG" && sleep 1 && shot 2 "$DIALOG" && AREA=$(bbox_of_change "$A" "$B") || return 1
        W=${AREA%%x*} H=${AREA#*x}; H=${H%%+*}
        [ "$W" -ge 60 ] && [ "$H" -ge 45 ] && BG=$(pixel_colour "$B" 2 2) && BEFORE=$(share_of_colour "$B" "$AREA" "#$BG") &&
            awk "BEGIN{exit !($BEFORE < 0.6)}"
    }
    until_ok 30 drawn || fail "the preview barely changed ($AREA) or has hardly drawn anything (${BEFORE:-})"
    echo "preview area: $AREA; the dialog background #$BG covers $BEFORE of it"
    # Slow the preview down (speed slider to Home: a tick every 500 ms), so
    # what shows right after uncovering comes from what was drawn before.
    keys shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab Home
    sleep 0.6
    eval "$(xdo getwindowgeometry --shell "$DIALOG")"
    window_tool cover "$X" "$Y" "$WIDTH" "$HEIGHT" 1 || fail "could not cover the dialog"
    # The black of the cover stays until the dialog paints itself again.
    uncovered() { import -window "$DIALOG" "$C" && awk "BEGIN{exit !($(share_of_colour "$C" "$AREA" "#000000") < 0.9)}"; }
    until_ok 30 uncovered || fail "the preview still shows the cover"
    AFTER=$(share_of_colour "$C" "$AREA" "#$BG")
    echo "after covering and uncovering: $AFTER"
    awk "BEGIN{exit !($AFTER <= $BEFORE + 0.01)}" || fail "uncovering lost the garden ($BEFORE -> $AFTER)"
    keys Return
    finish
    expect_output "OK cycle_length=5 Speed=1 Build=0"
    ;;
tessaly-ok)
    # tessaly /c writes exactly what OK confirms into the settings file.
    tessaly_settings '[Config]\ncycle_length=200\nSpeed=0\nBuild=0\n'
    start "$TESSALY" /c
    open_dialog
    keys Tab Tab space Tab End Left Tab Page_Down
    shot before-ok
    keys Return
    finish
    cp "$FILE" "$ARTEFACTS/$CASE-tessaly.ini"
    expect_stored 29/11/1
    expect_alone
    ;;
tessaly-ok-new-file)
    # No settings yet: OK creates the file with the defaults as shown.
    tessaly_settings
    start "$TESSALY" /c
    open_dialog
    keys Return
    finish
    [ -f "$FILE" ] || fail "no settings file was written"
    expect_stored 5/60/0
    ;;
tessaly-cancel)
    # Cancel, Escape and the close box leave the settings file as it was.
    tessaly_settings '[Config]\ncycle_length=12\nSpeed=34\nBuild=0\n'
    touch -d '2020-01-01 00:00:00' "$FILE"
    BEFORE=$(stat -c '%Y %s' "$FILE"; md5sum <"$FILE")
    for how in cancel escape close; do
        start "$TESSALY" /c
        open_dialog
        keys Tab Tab space Tab End Tab Home
        case $how in
        cancel) keys shift+Tab shift+Tab shift+Tab Return ;;
        escape) keys Escape ;;
        close) window_tool close "$DIALOG" ;;
        esac
        finish
        AFTER=$(stat -c '%Y %s' "$FILE"; md5sum <"$FILE")
        [ "$BEFORE" = "$AFTER" ] || fail "the settings file changed after $how"
        expect_alone "$how"
        echo "ok: unchanged after $how"
    done
    ;;
tessaly-idle)
    # The idle group: the box writes the autostart entry and removes it
    # again, the wait and the lock are stored with the other settings.
    tessaly_settings '[Config]\ncycle_length=12\nSpeed=34\nBuild=0\nIdleWait=7\nLockAfter=0\n'
    start "$TESSALY" /c
    open_dialog
    keys Tab Tab Tab Tab Tab space Tab Down Down Tab Up Up              # the box, wait 7 -> 5, lock 0 -> 2
    shot ticked
    keys Return
    finish
    expect_stored 12/34/0 && expect_idle 5/2/yes
    start "$TESSALY" /c
    open_dialog
    keys Tab Tab Tab Tab Tab space Return                              # shown ticked: untick it
    finish
    expect_stored 12/34/0 && expect_idle 5/2/no
    # On GNOME, GNOME's idle delay (10 minutes here) beside the wait; at a
    # wait of 10 minutes, the warning that the garden would never show. Each
    # line makes the dialog taller.
    height() { eval "$(xdo getwindowgeometry --shell "$DIALOG")" && echo "$HEIGHT"; }
    start "$TESSALY" /c && open_dialog && plain=$(height) && keys Escape && finish
    mkdir -p "$XDG_CONFIG_HOME/glib-2.0/settings" &&
        printf '[org/gnome/desktop/session]\nidle-delay=uint32 600\n' >"$XDG_CONFIG_HOME/glib-2.0/settings/keyfile"
    XDG_CURRENT_DESKTOP=ubuntu:GNOME GSETTINGS_BACKEND=keyfile start "$TESSALY" /c && open_dialog
    until_ok 10 eval '[ "$(height)" -gt "$plain" ]' || fail "no line about GNOME's idle delay on GNOME"
    gnome=$(height) && shot gnome-delay
    keys Tab Tab Tab Tab Tab Tab Up Up Up Up                           # the wait, 5 -> 9: still shorter
    sleep 1 && [ "$(height)" = "$gnome" ] || fail "a warning at a wait shorter than GNOME's delay"
    keys Up                                                            # 10: GNOME blanks first
    until_ok 10 eval '[ "$(height)" -gt "$gnome" ]' || fail "no warning at a wait as long as GNOME's delay"
    shot gnome-warning
    keys Escape
    finish
    expect_idle 5/2/no
    ;;
*)
    echo "unknown case: $CASE" >&2
    exit 2
    ;;
esac
exit 0
