#!/usr/bin/env bash
# Builds what a user installs, into out/:
#   tessaly_<version>_amd64.deb          the Linux programs as a Debian package
#   tessaly-<version>-windows-x64.zip    tessaly.scr, tessaly-render.exe and a short text
#   tessaly-<version>-setup.exe          the same as a Windows setup program (NSIS)
# On a fresh Debian 12 or 13 machine it first installs what it needs.
# --deb-only leaves the Windows files out.
set -euo pipefail
cd "$(dirname "$0")/.."
windows=1
case "${1:-}" in
  --deb-only) windows=0 ;;
  "") ;;
  *) echo "usage: scripts/package.sh [--deb-only]" >&2; exit 2 ;;
esac

scripts/install-deps.sh test
version=$(sed -n 's/^project(Tessaly VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
mkdir -p out

# Debian's own compiler and linker flags (hardening included), as a Debian
# build would use them; build type None adds nothing of its own.
flags() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"; }
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=None -DTESSALY_TESTS=OFF -DTESSALY_BENCH=OFF \
  -DCMAKE_C_FLAGS="$(flags CFLAGS) $(flags CPPFLAGS)" -DCMAKE_CXX_FLAGS="$(flags CXXFLAGS) $(flags CPPFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)" >/dev/null
cmake --build build-package -j "$(nproc)"
(cd build-package && cpack -G DEB >/dev/null)
deb=tessaly_${version}_amd64.deb
cp "build-package/$deb" out/
echo "package: out/$deb"

if [ "$windows" = 1 ]; then
  scripts/build-windows.sh build-win
  # The Windows build stages the stripped programs and the README for its
  # setup program; the zip carries the same three files.
  stage=build-win/packaging/windows/stage
  setup=tessaly-${version}-setup.exe
  [ -f "build-win/packaging/windows/$setup" ] || { echo "package: no $setup (is nsis installed?)" >&2; exit 1; }
  zip=tessaly-${version}-windows-x64.zip
  rm -f "out/$zip"
  (cd "$stage" && cmake -E tar cf "$OLDPWD/out/$zip" --format=zip tessaly.scr tessaly-render.exe README.txt)
  echo "package: out/$zip"
  cp "build-win/packaging/windows/$setup" out/
  echo "package: out/$setup"
fi
