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
    until_ok 60 eval '[ -s "$WORK/$socket.pid" ] && [ -S "$WORK/$socket" ] && kwin_ready' ||
        fail "KWin did not start: $(tail -n3 "$WORK/kwin-$socket.log")"
    # Ended, KWin takes its session with it; a session ended first would leave its bus behind.
    KWIN=$(cat "$WORK/$socket.pid") && PIDS[-1]=$KWIN
    export WAYLAND_DISPLAY=$socket DBUS_SESSION_BUS_ADDRESS
    DBUS_SESSION_BUS_ADDRESS=$(cat "$WORK/$socket.bus")
}
# Its screenshot interface answers once KWin has started.
kwin_ready() {
    as env DBUS_SESSION_BUS_ADDRESS="$(cat "$WORK/$socket.bus")" "$KWIN_SCREENSHOT" Virtual-0 "$WORK/ready.png" >/dev/null 2>&1
}
# kwin_stop: KWin ends, and with it its session bus.
kwin_stop() { kill "$KWIN" && wait "$KWIN_SESSION"; }

# kwin_shot OUTPUT NAME: a screenshot of one output at its own resolution, kept as an artefact.
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
