#!/usr/bin/env bash
# Runs one end-to-end test of the Windows programs under Wine and Xvfb.
#   run-wine-test.sh prefix                  create the shared Wine prefix (wineboot -i)
#   run-wine-test.sh host SCENARIO [ARG]     run a test host scenario against tessaly.scr
#   run-wine-test.sh unit                    run the unit tests of the Windows layer
#   run-wine-test.sh setup                   the setup program and its uninstaller (setup-checks.sh)
# Environment: TESSALY_WINDOWS_BUILD_DIR (the MinGW build), TESSALY_WINEPREFIX,
# TESSALY_SETUP (the setup program, for setup),
# TESSALY_ARTEFACTS (screenshots). A missing tool or artefact skips (exit 77),
# except in CI (CI=true), where it fails.
set -uo pipefail

readonly SKIP=77
readonly SCREEN=1024x768

skip() {
  if [ "${CI:-}" = "true" ]; then
    echo "FAIL (CI): $*" >&2
    exit 1
  fi
  echo "SKIP: $*" >&2
  exit "$SKIP"
}

command -v wine >/dev/null || skip "wine is not installed"
command -v wineserver >/dev/null || skip "wineserver is not installed"
: "${TESSALY_WINEPREFIX:?}" "${TESSALY_WINDOWS_BUILD_DIR:?}"
export WINEPREFIX="$TESSALY_WINEPREFIX" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# Wine sees the Linux file system as drive Z:.
windows_path() { printf 'Z:%s' "$(realpath "$1" | tr / '\\')"; }

# The virtual desktop has Wine draw captions and frames itself (there is no
# window manager on Xvfb), so the screenshots show the dialogs whole. It is
# chosen in the prefix's registry, which every Wine reads: Wine 10's
# `explorer /desktop=NAME,SIZE PROGRAM` returns at once, without the
# program's output or exit code.
explorer='HKCU\Software\Wine\Explorer'
virtual_desktop() { # on | off
  if [ "$1" = on ]; then
    wine reg add "$explorer\Desktops" /v Default /d "$SCREEN" /f >/dev/null 2>&1 &&
      wine reg add "$explorer" /v Desktop /d Default /f >/dev/null 2>&1
  else
    wine reg delete "$explorer" /v Desktop /f >/dev/null 2>&1
  fi
  local status=$?
  wineserver -w >/dev/null 2>&1
  return $status
}

if [ "${1:-}" = "prefix" ]; then
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    status=$?
    wineserver -w >/dev/null 2>&1
    [ $status -eq 0 ] && [ -f "$WINEPREFIX/system.reg" ] || { echo "wineboot failed ($status)" >&2; exit 1; }
  fi
  grep -q '^"Desktop"="Default"' "$WINEPREFIX/user.reg" ||
    virtual_desktop on || { echo "cannot set the prefix's virtual desktop" >&2; exit 1; }
  echo "Wine prefix ready: $WINEPREFIX"
  exit 0
fi

mode=${1:-}
case "$mode" in
  host) [ $# -ge 2 ] || { echo "usage: $0 host SCENARIO [ARG]" >&2; exit 2; } ;;
  unit | setup) ;;
  *) echo "usage: $0 prefix | host SCENARIO [ARG] | unit | setup" >&2; exit 2 ;;
esac
scenario=${2:-$mode}
argument=${3:-}

command -v Xvfb >/dev/null || skip "Xvfb is not installed"
bin="$TESSALY_WINDOWS_BUILD_DIR/platform/win32"
tests_bin="$TESSALY_WINDOWS_BUILD_DIR/tests/win32"
programs="$bin/tessaly.scr $tests_bin/tessaly-testhost.exe"
[ "$mode" = "unit" ] && programs="$tests_bin/tessaly-win32-tests.exe"
[ "$mode" = "setup" ] && programs="${TESSALY_SETUP:?} $tests_bin/tessaly-testhost.exe"
for f in $programs; do
  [ -f "$f" ] || skip "$f is missing (build it with scripts/build-windows.sh)"
done
scr=$(windows_path "$bin/tessaly.scr")
if [ "$mode" = "setup" ]; then
  # The setup changes the system: a prefix of its own, made afresh and removed after.
  export WINEPREFIX="$WINEPREFIX-setup"
  rm -rf "$WINEPREFIX"
  TESSALY_WINEPREFIX=$WINEPREFIX "$0" prefix >/dev/null || { echo "FAIL: could not make the setup's own Wine prefix at $WINEPREFIX" >&2; exit 1; }
fi
[ -f "$WINEPREFIX/system.reg" ] || { echo "no Wine prefix at $WINEPREFIX" >&2; exit 1; }
artefacts="${TESSALY_ARTEFACTS:-$PWD/test-artefacts/win32}/$scenario${argument:+-$(printf '%s' "$argument" | tr -c 'A-Za-z0-9' '_')}${TESSALY_WINE_LOGPIXELS:+-dpi$TESSALY_WINE_LOGPIXELS}"
rm -rf "$artefacts"
mkdir -p "$artefacts"

server_pids=""
log=$(mktemp)
# Ends every Wine process of the prefix and waits for its server to be gone,
# so that the next test starts a fresh one on its own display.
stop_wine() { wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1; }
cleanup() {
  stop_wine
  # A high-DPI run gives the shared prefix back its own DPI (a fresh prefix has no value here).
  [ -n "${TESSALY_WINE_LOGPIXELS:-}" ] && wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 && stop_wine
  [ "$scenario" = "monitors" ] && virtual_desktop on
  for pid in $server_pids; do kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; done
  [ "$mode" = "setup" ] && rm -rf "$WINEPREFIX"
  rm -f "$log" "$log.display" "$log.reg" "$log.xorg.conf"
}
trap cleanup EXIT
trap 'echo "FAIL: stopped by a signal (ctest'"'"'s timeout?) before the scenario ended" >&2; exit 1' INT TERM  # a timeout still cleans up

# A private X server on a free display; its number arrives on the pipe.
start_x() {
  : >"$log.display"
  "$@" -displayfd 3 -nolisten tcp 3>"$log.display" 2>/dev/null &
  server_pids="$! $server_pids"
  for _ in $(seq 600); do [ -s "$log.display" ] && break; sleep 0.05; done
  [ -s "$log.display" ] || { echo "$1 did not start" >&2; exit 1; }
  export DISPLAY=":$(head -n1 "$log.display")"
}
# Two monitors: two RandR outputs of the dummy video driver on a private Xorg,
# laid out with xrandr, the 1280x800 one primary. (Wine 10 reads each
# monitor's place from RandR; Xinerama heads alone all come out at 0,0.)
# The server shares the current VT and takes no input devices, so it leaves
# the console and a desktop session on it alone.
start_two_monitors() {
  local xorg=/usr/lib/xorg/Xorg
  [ -x "$xorg" ] && [ -f /usr/lib/xorg/modules/drivers/dummy_drv.so ] ||
    skip "Xorg's dummy driver is not installed (apt-get install xserver-xorg-core xserver-xorg-video-dummy)"
  command -v xrandr >/dev/null || skip "xrandr is not installed (apt-get install x11-xserver-utils)"
  [ "$(id -u)" = 0 ] || skip "the monitors cases start Xorg, which needs root"
  printf '%s\n' 'Section "ServerFlags"' '  Option "AutoAddDevices" "false"' 'EndSection' \
    'Section "Device"' '  Identifier "dummy"' '  Driver "dummy"' '  VideoRam 65536' 'EndSection' >"$log.xorg.conf"
  start_x "$xorg" -config "$log.xorg.conf" -logfile "$artefacts/xorg.log" -noreset -sharevts -novtswitch -keeptty
  local left=DUMMY0 primary=DUMMY1 left_mode=1024x768
  [ "${argument%%:*}" = "equal" ] && left_mode=1280x800
  xrandr --newmode 1280x800 83.50 1280 1352 1480 1680 800 803 809 831 -hsync +vsync &&
    xrandr --addmode $left $left_mode && xrandr --addmode $primary 1280x800 &&
    xrandr --output $left --mode $left_mode --pos 0x0 --output $primary --mode 1280x800 --pos "${left_mode%x*}x0" --primary ||
    { echo "FAIL: xrandr could not lay out the two monitors (Xorg's log: $artefacts/xorg.log)" >&2; exit 1; }
  # A query probes the outputs: until one does, the state Wine reads keeps the
  # second output disconnected.
  local connected
  connected=$(xrandr --query | grep -c ' connected ')
  [ "$connected" = 2 ] || { echo "FAIL: Xorg shows $connected connected outputs, expected 2" >&2; exit 1; }
}
if [ "$scenario" = "monitors" ]; then
  start_two_monitors
else
  start_x Xvfb -screen 0 "${SCREEN}x24"
fi

stop_wine
# Wine's virtual desktop is one monitor: the monitors cases run without it.
[ "$scenario" = "monitors" ] && { virtual_desktop off || { echo "FAIL: cannot leave the virtual desktop" >&2; exit 1; }; }
# A high-DPI desktop, e.g. 144 for 150%, as a user's display settings set it.
if [ -n "${TESSALY_WINE_LOGPIXELS:-}" ]; then
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$TESSALY_WINE_LOGPIXELS" /f >"$log.reg" 2>&1 ||
    { echo "FAIL: could not set the desktop to $TESSALY_WINE_LOGPIXELS DPI: $(grep -v '^wine: ' "$log.reg" | tail -n1)" >&2; exit 1; }
  stop_wine
fi
if [ "$mode" = "unit" ]; then
  timeout 180 wine "$(windows_path "$tests_bin/tessaly-win32-tests.exe")" >"$log" 2>&1
  status=$?
  stop_wine
  grep -v '^wine: ' "$log"
  rmdir "$artefacts" 2>/dev/null
  [ $status -eq 124 ] && echo "FAIL: the unit tests did not finish in time" >&2
  exit $((status == 0 ? 0 : 1))
fi

run_host() {
  timeout 180 wine "$(windows_path "$tests_bin/tessaly-testhost.exe")" \
    "$scenario" "$scr" "$(windows_path "$artefacts")" ${argument:+"$argument"} \
    >"$log" 2>&1
}

if [ "$mode" = "setup" ]; then
  . "$(dirname "$0")/setup-checks.sh"
  exit $?
fi

if [ "$scenario" = "xinput" ]; then
  # Real X input: once the host reports the saver READY, xdotool plays the user.
  command -v xdotool >/dev/null || skip "xdotool is not installed"
  run_host &
  host_pid=$!
  for _ in $(seq 600); do grep -q '^READY' "$log" && break; kill -0 "$host_pid" 2>/dev/null || break; sleep 0.1; done
  case "$argument" in
    move) xdotool mousemove_relative 1 0 ;;
    key) xdotool key space ;;
    *) echo "FAIL: unknown X input '$argument'" >&2 ;;
  esac
  wait "$host_pid"
  status=$?
else
  run_host
  status=$?
fi
stop_wine
grep -v '^wine: ' "$log"

for bmp in "$artefacts"/*.bmp; do
  [ -f "$bmp" ] || continue
  if [ -x /usr/bin/convert ] && /usr/bin/convert "$bmp" "${bmp%.bmp}.png" 2>/dev/null; then rm -f "$bmp"; fi
done

rmdir "$artefacts" 2>/dev/null  # scenarios without screenshots leave nothing

[ $status -eq 124 ] && { echo "FAIL: the scenario did not finish in time" >&2; exit 1; }
grep -q '^FAIL' "$log" && { echo "FAIL: the test host reported the failed checks above (screenshots: $artefacts)" >&2; exit 1; }
if ! grep -q "^$scenario: 0 failed check(s)" "$log"; then
  echo "FAIL: the test host ended with status $status and no result line (\"$scenario: 0 failed check(s)\"); its output is above" >&2
  exit 1
fi
exit 0
