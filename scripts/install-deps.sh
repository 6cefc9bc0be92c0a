#!/usr/bin/env bash
# Installs the Debian 12 or 13 packages Tessaly needs, skipping the ones already
# there. Needs root (or sudo).
#   scripts/install-deps.sh [build|test]
# build (the default): what building and running the programs needs;
# test: that and everything the tests, the Windows build and the packages need.
set -euo pipefail

build=(
  g++ cmake make pkg-config libcairo2-dev libx11-dev libxrandr-dev libxinerama-dev
  # the settings dialog
  libgtk-3-dev
  # the saver on Wayland: our own client, its protocols generated at build time
  libwayland-dev libwayland-bin wayland-protocols libpixman-1-dev
  # one event loop (sd-event); on X11, paints paced by Present, rest while the server blanks
  libsystemd-dev libxpresent-dev libxss-dev
  # the idle watcher: the X server's idle time through XCB's SYNC extension
  libxcb-sync-dev
)
test=(
  "${build[@]}"
  # unit tests and benchmarks
  googletest libgtest-dev libbenchmark-dev libexpat1-dev libxfixes-dev valgrind python3
  # fuzzing: clang with libFuzzer and the sanitizers' run-time libraries
  clang libclang-rt-dev
  # Windows: cross compiler, Wine (with its own fonts, so dialogs look alike everywhere), NSIS
  g++-mingw-w64-x86-64-posix wine wine64 fonts-wine nsis
  # end-to-end tests on a real X server, and with the real XScreenSaver daemon
  xvfb xserver-xephyr xdotool x11-utils x11-apps xauth imagemagick xscreensaver
  # several monitors as RandR outputs: Xorg's dummy driver, laid out with xrandr
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
  # the Debian package: dpkg-shlibdeps computes its Depends, lintian checks it
  dpkg-dev file lintian
  # end-to-end tests on headless Wayland compositors (with and without layer shell)
  sway swaybg grim wtype weston
  # and on KDE Plasma's compositor, on its virtual backend in a D-Bus session of its own
  kwin-wayland dbus-daemon
  # software OpenGL, with which KWin draws (and gives screenshots) where there is no GPU
  libgl1-mesa-dri
  # the idle watcher on GNOME: headless Mutter, GNOME's session manager, and
  # the schema of GNOME's idle delay that the settings dialog shows
  mutter gnome-session-bin gsettings-desktop-schemas dbus-bin
)

case "${1:-build}" in
  build) packages=("${build[@]}") ;;
  test) packages=("${test[@]}") ;;
  *) echo "usage: scripts/install-deps.sh [build|test]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all packages present"
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "install-deps: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "install-deps: done"
