#!/usr/bin/env bash
# Installs the Debian 12 packages Tessaly needs to build and test, skipping
# the ones already there. Needs root (or sudo).
set -euo pipefail

packages=(
  # build
  g++ cmake make pkg-config libcairo2-dev libx11-dev libxfixes-dev libxrandr-dev libxinerama-dev libgtk-3-dev libexpat1-dev
  # the saver on Wayland (layer-shell surfaces through GTK)
  libgtk-layer-shell-dev libwayland-dev
  # unit tests and benchmarks
  googletest libgtest-dev libbenchmark-dev valgrind python3
  # fuzzing: clang with libFuzzer and the sanitizers' run-time libraries
  clang libclang-rt-14-dev
  # Windows: cross compiler, Wine, and NSIS for the setup program
  g++-mingw-w64-x86-64-posix wine wine64 nsis
  # end-to-end tests on a real X server, and with the real XScreenSaver daemon
  xvfb xserver-xephyr xdotool x11-utils x11-apps xauth imagemagick xscreensaver
  # the Debian package: dpkg-shlibdeps computes its Depends, lintian checks it
  dpkg-dev file lintian
  # end-to-end tests on headless Wayland compositors (with and without layer shell)
  sway grim wtype weston
)

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
