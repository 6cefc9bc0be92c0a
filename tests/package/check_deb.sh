#!/usr/bin/env bash
# check_deb.sh CPACK BUILD_DIR VERSION: builds tessaly_VERSION_amd64.deb from
# BUILD_DIR into a scratch folder and checks it as apt would get it.
set -euo pipefail
export LC_ALL=C  # one sort order for the file list
cpack=$1 build=$2 version=$3
source "$(dirname "$0")/../support/skip.sh"
require dpkg-deb dpkg-shlibdeps lintian
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
deb=$scratch/tessaly_${version}_amd64.deb
"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/log" && [ -f "$deb" ] || { cat "$scratch/log"; fail cpack; }

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)/$(field Version)/$(field Architecture)/$(field Suggests)" = "tessaly/$version/amd64/xscreensaver" ] ||
  fail "control fields: $(field Package)/$(field Version)/$(field Architecture)/$(field Suggests)"
for library in libc6 libx11-6 libcairo2 libwayland-client0 libgtk-3-0 libsystemd0 libxcb-sync1; do  # computed from the programs' libraries
  [[ ", $(field Depends)" == *", $library"* ]] || fail "Depends lacks $library: $(field Depends)"
done
[[ "$(field Depends)" != *gtk-layer-shell* ]] || fail "Depends names gtk-layer-shell: $(field Depends)"

# Exactly these files, all under /usr: nothing in /usr/local, nothing unowned.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }' | sort |
  diff -u - <(printf '%s\n' ./usr/bin/tessaly ./usr/bin/tessaly-render \
    ./usr/libexec/tessaly/tessaly-idle ./usr/libexec/tessaly/tessaly-settings \
    './usr/libexec/xscreensaver/tessaly -> ../../bin/tessaly' \
    ./usr/share/applications/tessaly.desktop \
    ./usr/share/doc/tessaly/changelog.gz ./usr/share/doc/tessaly/copyright \
    ./usr/share/man/man1/tessaly-render.1.gz ./usr/share/man/man1/tessaly.1.gz \
    ./usr/share/xscreensaver/config/tessaly.xml) || fail "contents differ"

# The programs run from where the package puts them, and the manual pages
# name every option that --help names.
dpkg-deb -x "$deb" "$scratch/root"
usr=$scratch/root/usr
[ "$("$usr/libexec/xscreensaver/tessaly" --version)" = "tessaly $version" ] || fail "display mode --version"
grep -qx 'Exec=tessaly -c' "$usr/share/applications/tessaly.desktop" || fail "the desktop entry must open the settings"
# Only the settings program loads GTK; the saver stays small.
[ "$("$usr/libexec/tessaly/tessaly-settings" --version)" = "tessaly $version" ] || fail "tessaly-settings --version"
! ldd "$usr/bin/tessaly" | grep -q libgtk || fail "tessaly links GTK"
message=$(env -u DISPLAY -u WAYLAND_DISPLAY "$usr/bin/tessaly" /c 2>&1) && fail "tessaly /c did not reach the dialog: $message"
[[ "$message" == *"settings dialog: no display"* ]] || fail "tessaly /c: $message"
# The idle watcher is small: none of the saver's drawing libraries.
! ldd "$usr/libexec/tessaly/tessaly-idle" | grep -Eq 'libcairo|libX11|libgtk' || fail "tessaly-idle links a drawing library"
# A program handed over to that cannot run is an error naming it, never the text answer.
for handed in "tessaly-settings /c settings dialog" "tessaly-idle --idle idle watcher"; do
  read -r name mode what <<<"$handed"
  program=$usr/libexec/tessaly/$name
  mv "$program" "$scratch/program"
  for kind in missing folder not-a-program not-executable; do
    case $kind in
      folder) mkdir "$program" ;;
      not-a-program) echo 'not a program' >"$program" && chmod +x "$program" ;;
      not-executable) cp "$scratch/program" "$program" && chmod -x "$program" ;;
    esac
    message=$("$usr/bin/tessaly" "$mode" 2>&1) && fail "tessaly $mode, $name $kind: exit 0: $message"
    [[ "$message" == "tessaly: cannot run the $what"*"/$name"* ]] || fail "tessaly $mode, $name $kind: $message"
    rm -rf "$program"
  done
  mv "$scratch/program" "$program"
done
for program in tessaly tessaly-render; do
  page=$(zcat "$usr/share/man/man1/$program.1.gz" | sed 's/\\-/-/g')
  for option in $("$usr/bin/$program" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
    grep -q -- "$option" <<<"$page" || fail "$program.1 does not mention $option"
  done
done
lintian --fail-on error,warning "$deb" >"$scratch/lintian" 2>&1 || { cat "$scratch/lintian"; fail lintian; }
echo "PASS: $(basename "$deb") (Depends: $(field Depends))"
