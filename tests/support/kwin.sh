# Sourced after session.sh: a private KWin (Plasma's compositor) on its
# virtual backend, with its own D-Bus session, and what the tests see and do
# through it: screenshots (its screenshot D-Bus interface) and real input
# (its fake-input device, which KWin feeds through the path of a physical
# one). Needs KWIN_INPUT and KWIN_SCREENSHOT, the helpers built beside the tests.
require kwin_wayland dbus-run-session

# kwin_start SOCKET ARGS...: KWin on WAYLAND_DISPLAY=SOCKET with the virtual
# backend's ARGS (--width W --height H [--scale S] [--output-count N]); its
# outputs are Virtual-0, Virtual-1, ... KWin's binary carries a file
# capability that stops it under setpriv: a copy (which cp makes without it)
# runs instead.
kwin_start() {
    local socket=$1
    [ -x "$WORK/kwin_wayland" ] || cp "$(command -v kwin_wayland)" "$WORK/kwin_wayland" || fail "cannot copy kwin_wayland"
    rm -f "$WORK/$socket.bus" "$WORK/$socket.pid"
    # KWin's own process id (the shell's, which it replaces) and its bus's address.
    launch "kwin-$socket.log" env QT_QPA_PLATFORM=offscreen KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 \
        KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1 dbus-run-session -- sh -c \
        'echo "$DBUS_SESSION_BUS_ADDRESS" >"$0.bus" && echo $$ >"$0.pid" && exec "$@"' "$WORK/$socket" \
        "$WORK/kwin_wayland" --virtual --no-lockscreen --socket "$socket" "${@:2}"
    KWIN_SESSION=$!
    # Ended, KWin takes its session with it; a session ended first would leave it running.
    until_ok 30 test -s "$WORK/$socket.pid" || fail "KWin did not start: $(tail -n3 "$WORK/kwin-$socket.log")"
    KWIN=$(cat "$WORK/$socket.pid") && PIDS[-1]=$KWIN
    DBUS_SESSION_BUS_ADDRESS=$(cat "$WORK/$socket.bus") && export WAYLAND_DISPLAY=$socket DBUS_SESSION_BUS_ADDRESS
    until_ok 60 eval '[ -S "$WORK/$socket" ] && KWIN_COMPOSITING=$(as "$KWIN_SCREENSHOT" --compositing 2>/dev/null)' ||
        fail "KWin did not start compositing: $(tail -n3 "$WORK/kwin-$socket.log")"
    # Screenshots where KWin composites with OpenGL (KWin 6's virtual backend
    # needs a render node for it): then the screen is checked, else what the
    # program reports.
    KWIN_SHOTS=false
    if [ "${KWIN_COMPOSITING#gl}" != "$KWIN_COMPOSITING" ]; then
        until_ok 30 as "$KWIN_SCREENSHOT" Virtual-0 "$WORK/ready.png" >/dev/null || fail "KWin gives no screenshots"
        KWIN_SHOTS=true
    else
        echo "KWin composites with '$KWIN_COMPOSITING', which gives no screenshots: what the programs report is checked"
    fi
}
# kwin_stop: KWin ends, and with it its session bus.
kwin_stop() { kill "$KWIN" && wait "$KWIN_SESSION"; }

# kwin_shot OUTPUT NAME: a screenshot of one output at its own resolution,
# kept as an artefact (only where $KWIN_SHOTS).
kwin_shot() {
    as "$KWIN_SCREENSHOT" "$1" "$WORK/$2.png" >/dev/null || fail "no screenshot of $1"
    cp "$WORK/$2.png" "$ARTEFACTS/$CASE-$2.png"
}

# kwin_input_start: the input device, made before the program under test
# starts (a keyboard appearing while the saver runs is a key of its own).
kwin_input_start() {
    # Opened for reading and writing first: an open for one side alone waits
    # for the other. A command put in the background reads /dev/null unless
    # it opens its input itself.
    mkfifo "$WORK/input" && chown --reference="$WORK" "$WORK/input" && exec {KWIN_INPUT_FD}<>"$WORK/input"
    launch input.log sh -c 'exec "$0" <"$1"' "$KWIN_INPUT" "$WORK/input"
    until_ok 30 grep -qs ready "$WORK/input.log" || fail "no KWin input device: $(cat "$WORK/input.log")"
}
# kwin_input COMMAND: key CODE | button CODE | move DX DY | touch X Y (see kwin_input.cpp).
kwin_input() {
    local before=$(grep -c done "$WORK/input.log")
    echo "$*" >&"$KWIN_INPUT_FD"
    until_ok 20 eval '[ "$(grep -c done "$WORK/input.log")" -gt "$before" ]' || fail "KWin did not take '$*'"
}
