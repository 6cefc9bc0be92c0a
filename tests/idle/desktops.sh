# Sourced after session.sh by the idle watcher's end-to-end tests and its
# benchmark: the desktop of CASE (x11, sway, gnome, kwin) started as the
# tests see it, and what they do and see there:
#   poke     one real input
#   shown    the garden is on every output
#   clear    no garden is on the screen
# with the test's own system bus (DBUS_SYSTEM_BUS_ADDRESS), a session bus
# where the desktop brings none, WATCHER_ENV for the watcher's environment
# and DESKTOP, the desktop's colour. Needs BUS_CLIENT, and for KWin
# KWIN_INPUT and KWIN_SCREENSHOT.
IDLE_TESTS=$(dirname "${BASH_SOURCE[0]}")
DESKTOP='#204060'
# painted FILE [CROP...]: the garden has grown there over the desktop.
painted() { [ "$(count "$1" "$DESKTOP" "${@:2}")" -gt 2000 ]; }

# The test's own buses: its system bus, where the lock's stand-in answers
# for systemd-logind, and (except under GNOME and KWin, which bring their
# own) its session bus. bus NAME VARIABLE: a private dbus-daemon, its address exported in VARIABLE.
bus() {
    "${AS[@]}" dbus-daemon --session --nofork --print-address=1 >"$WORK/$1.address" 2>"$WORK/$1-bus.log" &
    PIDS+=($!)
    until_ok 20 test -s "$WORK/$1.address" || fail "no $1 bus"
    export "$2=$(head -n1 "$WORK/$1.address")"
}
# client NAME: a bus client of its own that keeps its connection; ask NAME
# CALL... has it make a call (see bus_client.cpp), the reply's values in REPLY.
client() {
    mkfifo "$WORK/$1.in" && chown --reference="$WORK" "$WORK/$1.in" || fail "no pipe for $1"
    local fd && exec {fd}<>"$WORK/$1.in" && eval "FD_$1=$fd"
    launch "$1.log" sh -c 'exec "$0" <"$1"' "$BUS_CLIENT" "$WORK/$1.in" && eval "PID_$1=$!"
    until_ok 20 grep -qs ready "$WORK/$1.log" || fail "the bus client $1 did not start: $(cat "$WORK/$1.log")"
}
answers() { grep -c '^reply\|^error' "$WORK/$1.log"; }
ask() {
    local name=$1 fd before=$(answers "$1") && eval "fd=\$FD_$1" && echo "${*:2}" >&"$fd"
    until_ok 20 eval '[ "$(answers "$name")" -gt "$before" ]' || fail "no answer to ${*:2}"
    REPLY=$(grep '^reply\|^error' "$WORK/$1.log" | tail -n1)
    [[ "$REPLY" == reply* ]] || fail "${*:2}: $REPLY"
    REPLY=${REPLY#reply }
}
# The watcher ($WATCHER, logging to watcher.log): its saver, and its log
# since the saver last started, newest line first.
saver() { pgrep -P "$WATCHER"; }
no_saver() { [ -z "$(saver)" ]; }
since_start() { tac "$WORK/watcher.log" | sed '/stats saver [0-9]* started/q'; }

# desktop_start: the desktop of CASE.
desktop_start() {
    WATCHER_ENV=()
    require dbus-daemon convert compare
    bus system DBUS_SYSTEM_BUS_ADDRESS
    case $CASE in
    x11)
        require Xvfb Xephyr xdotool xsetroot import
        # Two heads side by side, Xinerama's, on an X server with the SYNC idle counter.
        launch xvfb.log Xvfb -displayfd 3 -screen 0 1280x480x24 -nolisten tcp -noreset 3>"$WORK/host"
        until_ok 20 test -s "$WORK/host" || fail "Xvfb did not start"
        DISPLAY=:$(cat "$WORK/host") launch xephyr.log Xephyr -displayfd 3 +xinerama -origin 0,0 -screen 640x480 \
            -origin 640,0 -screen 640x480 -nolisten tcp -noreset 3>"$WORK/display"
        until_ok 20 test -s "$WORK/display" || fail "Xephyr did not start"
        export DISPLAY=:$(cat "$WORK/display") && bus session DBUS_SESSION_BUS_ADDRESS
        as xsetroot -solid "$DESKTOP" || fail "xsetroot"
        OUTPUTS="0 640"
        shot() { as import -window root "$WORK/$1.png" && cp "$WORK/$1.png" "$ARTEFACTS/$CASE-$1.png"; }
        shown() { shot garden && for x in $OUTPUTS; do painted "$WORK/garden.png" -crop 640x480+$x+0 || return 1; done; }
        clear() { shot desktop && [ "$(count "$WORK/desktop.png" "$DESKTOP")" -lt 100 ]; }
        poke() { as xdotool mousemove_relative -- $((RANDOM % 9 - 4)) 3 key shift; }
        ;;
    sway)
        require sway swaymsg grim wtype
        printf 'xwayland disable\noutput * bg %s solid_color\n' "$DESKTOP" >"$WORK/config" && chmod 644 "$WORK/config"
        export WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 && bus session DBUS_SESSION_BUS_ADDRESS
        launch sway.log sway -c "$WORK/config"
        until_ok 30 eval 'SWAYSOCK=$(ls "$WORK"/sway-ipc.*.sock 2>/dev/null) && [ -S "$WORK/wayland-1" ]' ||
            fail "sway did not start: $(tail -n3 "$WORK/sway.log")"
        export SWAYSOCK WAYLAND_DISPLAY=wayland-1
        msg() { as swaymsg "$@" >/dev/null || fail "swaymsg $*"; }
        msg create_output && msg output HEADLESS-1 mode 800x600 position 0 0 && msg output HEADLESS-2 mode 640x480 position 800 0
        # A keyboard from the start, so that the saver has bound one before wtype's come.
        launch keyboard.log wtype -s 3600000
        until_ok 30 eval 'as swaymsg -t get_inputs | grep -q "\"type\": \"keyboard\""' || fail "no keyboard in the seat"
        OUTPUTS="HEADLESS-1 HEADLESS-2"
        shot() { as grim -o "$1" "$WORK/$2.png" && cp "$WORK/$2.png" "$ARTEFACTS/$CASE-$2.png"; }
        shown() { for output in $OUTPUTS; do shot "$output" "garden-$output" && painted "$WORK/garden-$output.png" || return 1; done; }
        clear() { for output in $OUTPUTS; do shot "$output" desktop && [ "$(count "$WORK/desktop.png" "$DESKTOP")" -lt 100 ] || return 1; done; }
        poke() { as wtype a; }
        ;;
    gnome)
        require mutter dbus-run-session dbus-send gnome-session
        # Mutter with a session bus of its own, as GNOME runs it; its process id for the end.
        launch mutter.log dbus-run-session -- sh -c 'echo "$DBUS_SESSION_BUS_ADDRESS" >"$0.bus" && echo $$ >"$0.pid" && exec "$@"' \
            "$WORK/session" mutter --headless --wayland --no-x11 --wayland-display=wayland-1 \
            --virtual-monitor 800x600 --virtual-monitor 640x480
        until_ok 30 eval '[ -S "$WORK/wayland-1" ] && [ -s "$WORK/session.pid" ]' ||
            fail "Mutter did not start: $(tail -n3 "$WORK/mutter.log")"
        PIDS+=("$(cat "$WORK/session.pid")")
        export WAYLAND_DISPLAY=wayland-1 DBUS_SESSION_BUS_ADDRESS=$(cat "$WORK/session.bus")
        # GNOME's session manager, with a session of no components.
        mkdir -p "$WORK/data/gnome-session/sessions" "$WORK/autostart"
        printf '[GNOME Session]\nName=Tessaly test\nRequiredComponents=\n' >"$WORK/data/gnome-session/sessions/test.session"
        chown -R --reference="$WORK" "$WORK/data" "$WORK/autostart"
        # As systemd starts it (GNOME 48 has no other way), with the test's
        # system bus for systemd-logind's.
        XDG_DATA_DIRS=$WORK/data:/usr/share launch session-manager.log gnome-session --systemd-service --session=test \
            -a "$WORK/autostart" --disable-acceleration-check
        until_ok 30 eval 'as dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
            org.freedesktop.DBus.NameHasOwner string:org.gnome.SessionManager | grep -q "boolean true"' ||
            fail "GNOME's session manager did not start: $(tail -n3 "$WORK/session-manager.log")"
        # Real input: Mutter's remote-desktop session, which lasts as long as the connection that made it.
        REMOTE=(org.gnome.Mutter.RemoteDesktop /org/gnome/Mutter/RemoteDesktop org.gnome.Mutter.RemoteDesktop)
        client input && ask input "${REMOTE[@]}" CreateSession && REMOTE=("${REMOTE[0]}" "$REPLY" "${REMOTE[2]}.Session")
        ask input "${REMOTE[@]}" Start
        poke() {
            ask input "${REMOTE[@]}" NotifyPointerMotionRelative dd 4 3 && ask input "${REMOTE[@]}" NotifyPointerMotionRelative dd -4 -3 &&
                ask input "${REMOTE[@]}" NotifyKeyboardKeysym ub 65505 true && ask input "${REMOTE[@]}" NotifyKeyboardKeysym ub 65505 false
        }
        # No screen capture without PipeWire: the saver's protocol log shows, since
        # it last started, a full-screen window configured at each monitor's size,
        # buffers of that size, and the frames Mutter shows them in (its --stats).
        WATCHER_ENV=(WAYLAND_DEBUG=client)
        shown() {
            local log && log=$(since_start)
            for size in "800, 600" "640, 480"; do
                grep -q "xdg_toplevel[@#][0-9]*\.configure($size, " <<<"$log" &&
                    grep -q "create_buffer(new id wl_buffer[@#][0-9]*, [0-9]*, $size, " <<<"$log" || return 1
            done
            grep -Eq 'stats ticks/s .* frames/s [1-9]' <<<"$log"
        }
        clear() { no_saver; }
        ;;
    kwin)
        . "$IDLE_TESTS/../support/kwin.sh"
        kwin_start wayland-1 --width 800 --height 600 --output-count 2
        kwin_input_start
        DESKTOP=black  # KWin's bare desktop; it has no screen capture, so the saver starts black too
        OUTPUTS="Virtual-0 Virtual-1"
        poke() { kwin_input move 4 3 && kwin_input move -4 -3 && kwin_input key 42; }
        if $KWIN_SHOTS; then
            shown() { for output in $OUTPUTS; do kwin_shot "$output" "garden-$output" && painted "$WORK/garden-$output.png" || return 1; done; }
            clear() { for output in $OUTPUTS; do kwin_shot "$output" desktop && [ "$(count "$WORK/desktop.png" black)" -lt 100 ] || return 1; done; }
        else
            # Without screenshots, the saver's protocol log: since it last
            # started, a surface for each output painted three times and more.
            WATCHER_ENV=(WAYLAND_DEBUG=client)
            shown() { [ "$(since_start | grep -o 'wl_surface[@#][0-9]*\.damage_buffer' | sort | uniq -c | awk '$1 >= 3' | wc -l)" -ge 2 ]; }
            clear() { no_saver; }
        fi
        ;;
    *) fail "unknown case $CASE" ;;
    esac
}
