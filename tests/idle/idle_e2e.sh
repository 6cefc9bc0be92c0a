#!/bin/bash
# tessaly --idle on a real desktop, one case each:
#   x11    Xvfb with two Xinerama heads under Xephyr; input with xdotool
#   sway   headless sway with two outputs; input with wtype
#   gnome  headless Mutter (its virtual monitor); input through its remote-desktop session
#   kwin   KWin's virtual backend with two outputs; input through its fake-input device
# The same steps on each: a second watcher says so and leaves; real input
# keeps the garden away; idle for the wait, the garden is on every output
# and, after the lock time, the lock is asked of the desktop (a stand-in for
# systemd-logind, and for GNOME's shell, records it); one input ends the
# garden and the watcher waits again; a second idle period brings it back;
# an inhibitor keeps it away until it goes (X11: org.freedesktop.ScreenSaver,
# released and then dropped with its program's connection; GNOME: the
# session manager's, where one runs); SIGTERM ends the watcher and its garden.
# Usage: idle_e2e.sh CASE, with TESSALY, BUS_CLIENT, LOCK_STAND_IN and ARTEFACTS set.
set -u
CASE=${1:?usage: idle_e2e.sh x11|sway|gnome|kwin}
. "$(dirname "$0")/../support/session.sh"
WAIT=5  # seconds idle before the garden (tessaly --idle --wait 5s)
LOCK=2  # seconds of garden before the lock (--lock-after 2s)
unset DBUS_SESSION_BUS_ADDRESS XDG_SESSION_ID XDG_CURRENT_DESKTOP
fail() {
    echo "FAIL ($CASE): $* (logs and screenshots: $ARTEFACTS/$CASE-*)"
    for log in "$WORK"/*.log; do cp "$log" "$ARTEFACTS/$CASE-$(basename "$log")"; done
    grep -v '^\[' "$WORK/watcher.log" 2>/dev/null | sed 's/^/  watcher: /'
    exit 1
}
. "$(dirname "$0")/desktops.sh"
desktop_start

# The steps every desktop shares.
launch stand-in.log "$LOCK_STAND_IN" $([ "$CASE" = gnome ] && echo --gnome)
until_ok 20 grep -qs ready "$WORK/stand-in.log" || fail "the lock's stand-in did not start: $(cat "$WORK/stand-in.log")"
launch watcher.log env "${WATCHER_ENV[@]}" "$TESSALY" --idle --wait ${WAIT}s --lock-after ${LOCK}s --stats && WATCHER=$!
until_ok 20 grep -qs 'stats watching' "$WORK/watcher.log" || fail "the watcher did not start"

# One watcher per session.
second=$(as "$TESSALY" --idle 2>&1) && [[ "$second" == *"runs in this session already (process $WATCHER)"* ]] &&
    [ "$(wc -l <<<"$second")" = 1 ] || fail "a second watcher: '$second' (exit $?)"

# Busy for three times the wait: no garden.
end=$((SECONDS + 3 * WAIT))
while [ $SECONDS -lt $end ]; do
    poke || fail "no input"
    no_saver || fail "the garden came while the user was busy"
    sleep 0.5
done
clear || fail "the desktop does not show while the user is busy"

# Idle: the garden on every output, then the lock.
until_ok 30 shown || fail "no garden on every output after $WAIT s idle"
until_ok 20 grep -q "LockSession c1" "$WORK/stand-in.log" || fail "no lock was asked of logind $LOCK s into the garden"
[ "$CASE" != gnome ] || until_ok 20 grep -qx Lock "$WORK/stand-in.log" || fail "no lock was asked of GNOME's shell"
# One input ends it; the watcher waits again.
poke && until_ok 20 no_saver || fail "input did not end the garden"
until_ok 20 clear || fail "the garden stays on the screen after it ended"
kill -0 "$WATCHER" || fail "the watcher ended with the garden"
until_ok 30 shown || fail "no garden in the second idle period"
poke && until_ok 20 no_saver || fail "input did not end the second garden"

# idle SECONDS: that long idle, and no garden.
idle() { local end=$((SECONDS + $1)); while [ $SECONDS -lt $end ]; do no_saver || return 1; sleep 0.5; done; }
# inhibited WHAT RELEASE...: an inhibitor holds the garden back for three
# times the wait; once RELEASE has let it go, the garden comes.
inhibited() {
    poke && idle $((3 * WAIT)) || fail "the garden came while $1 inhibited idleness"
    "${@:2}"
    until_ok 30 shown || fail "no garden after $1 let idleness go"
    poke && until_ok 20 no_saver || fail "input did not end the garden after $1"
}
SCREENSAVER=(org.freedesktop.ScreenSaver /org/freedesktop/ScreenSaver org.freedesktop.ScreenSaver)
case $CASE in
x11)
    # A video player's inhibitor, released; another, dropped when its program leaves the bus.
    client video && ask video "${SCREENSAVER[@]}" Inhibit ss video playing
    inhibited "an inhibitor (org.freedesktop.ScreenSaver)" ask video "${SCREENSAVER[@]}" UnInhibit u "$REPLY"
    ask video "${SCREENSAVER[@]}" Inhibit ss video playing
    inhibited "an inhibitor whose program then left the bus" kill "$PID_video"
    ;;
gnome)
    # An inhibitor of idleness (flag 8) held by GNOME's session manager, then released.
    SESSION=(org.gnome.SessionManager /org/gnome/SessionManager org.gnome.SessionManager)
    client video && ask video "${SESSION[@]}" Inhibit susu video 0 playing 8
    inhibited "GNOME's session manager's inhibitor" ask video "${SESSION[@]}" Uninhibit u "$REPLY"
    ;;
esac

# SIGTERM ends the watcher by that signal, and the garden with it.
until_ok 30 shown || fail "no garden in the third idle period"
kill -TERM "$WATCHER" && until_ok 20 eval '! kill -0 "$WATCHER" 2>/dev/null' || fail "SIGTERM did not end the watcher"
wait "$WATCHER"; status=$?
[ "$status" = 143 ] || fail "the watcher ended with status $status after SIGTERM, expected 143"
until_ok 20 clear || fail "the garden outlived its watcher"

if [ "$CASE" = x11 ]; then
    # The dialog's write (a new file renamed over the old) takes effect at
    # once: from a wait of two hours to one minute, and the garden comes.
    settings=$WORK/config.d/tessaly/tessaly.ini
    write() { as sh -c 'printf "[Config]\nIdleWait=%s\n" "$2" >"$1.new" && mv "$1.new" "$1"' - "$settings" "$1"; }
    write 120 && launch watcher.log "$TESSALY" --idle --stats && WATCHER=$!
    until_ok 20 grep -q 'stats watching.*wait 7200000 ms' "$WORK/watcher.log" || fail "the watcher did not take the file's wait"
    poke && write 1 && until_ok 90 shown || fail "no garden a minute after the settings file said so"
    kill "$WATCHER"
    # Where XScreenSaver's daemon runs, it starts the saver: the watcher refuses, in one line.
    printf 'timeout: 1:00:00\nlock: False\nsplash: False\n' >"$WORK/.xscreensaver"
    launch xscreensaver.log xscreensaver --no-splash
    until_ok 20 eval 'as xscreensaver-command -version >/dev/null 2>&1' || fail "XScreenSaver's daemon did not start"
    refusal=$(as "$TESSALY" --idle 2>&1); status=$?
    [ "$status" = 1 ] && [ "$(wc -l <<<"$refusal")" = 1 ] && [[ "$refusal" == *"add Tessaly to its display modes"* ]] ||
        fail "under XScreenSaver: status $status, '$refusal'"
fi
echo "PASS: $CASE"
