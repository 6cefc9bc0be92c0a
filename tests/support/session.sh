# Sourced by the end-to-end tests that run a compositor: a private session
# for it and its clients, and the checks they share. Compositors refuse
# root: as root, the compositor and every client run as nobody, with a
# runtime folder and home of their own ($WORK). Needs CASE and ARTEFACTS;
# the program under test logs to $WORK/tessaly.log.
. "$(dirname "${BASH_SOURCE[0]}")/skip.sh"
fail() { echo "FAIL: $*"; sed 's/^/  tessaly: /' "$WORK/tessaly.log" 2>/dev/null; exit 1; }

WORK=$(mktemp -d "${TMPDIR:-/tmp}/tessaly-session.XXXXXX")
chmod 700 "$WORK"
AS=()
[ "$(id -u)" = 0 ] && chown nobody:nogroup "$WORK" && AS=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
PIDS=()
# SIGCONT too: a stopped compositor takes its SIGTERM only once it goes on.
trap 'kill "${PIDS[@]}" 2>/dev/null; kill -CONT "${PIDS[@]}" 2>/dev/null; wait; rm -rf "$WORK"' EXIT
mkdir -p "$ARTEFACTS"
export XDG_RUNTIME_DIR=$WORK HOME=$WORK XDG_CONFIG_HOME=$WORK/config.d NO_AT_BRIDGE=1
unset DISPLAY WAYLAND_DISPLAY SWAYSOCK
as() { timeout 20 "${AS[@]}" "$@"; }
# launch LOG PROGRAM ARGS...: in the background as the compositor's user.
launch() { "${AS[@]}" "${@:2}" >"$WORK/$1" 2>&1 & PIDS+=($!); }

# differ [OPTIONS] A B: how many pixels of two images differ (ImageMagick
# writes millions as 3.31754e+07), or compare's complaint.
differ() { compare -metric AE "$@" null: 2>&1 | awk '/^[0-9.]+(e\+[0-9]+)?$/ { printf "%.0f\n", $1; next } 1'; }
# count FILE COLOUR [CROP...]: how many pixels (of the crop) differ from COLOUR.
count() {
    convert "$1" "${@:3}" +repage "$WORK/part.png" && convert "$WORK/part.png" -fill "$2" -colorize 100 "$WORK/solid.png"
    differ "$WORK/part.png" "$WORK/solid.png"
}
# pixels FILE COLOUR: how many pixels are COLOUR.
pixels() { convert "$1" -fill black +opaque "$2" -fill white -opaque "$2" -format '%[fx:int(mean * w * h + 0.5)]' info:; }
start() { launch tessaly.log "$TESSALY" "$@"; SAVER=$!; }
running() { sleep 1; kill -0 "$SAVER" 2>/dev/null || fail "$* ended the saver"; }
# ends CODE WHAT: the saver ends within 20 s with status CODE (128 + signal).
ends() {
    until_ok 20 eval '! kill -0 "$SAVER" 2>/dev/null' || fail "$2 did not end it"
    wait "$SAVER"; local status=$?
    [ "$status" = "$1" ] || fail "$2: status $status, expected $1"
}
# buffers LOG: the sizes of the wl_shm buffers a WAYLAND_DEBUG log made, one WxH a line.
# (libwayland 1.22 and later name objects wl_buffer#N, earlier ones wl_buffer@N.)
buffers() { sed -n 's/.*create_buffer(new id wl_buffer[@#][0-9]*, [0-9]*, \([0-9]*\), \([0-9]*\),.*/\1x\2/p' "$1"; }
