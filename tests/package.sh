#!/usr/bin/env bash
# The Debian package made from the build tree: its layout, its desktop entry, its computed
# dependencies, and the installed program playing a file without a display.
# Usage: package.sh BUILD_DIR MEDIA_FILE
set -euo pipefail
build=$1
media=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$tmp/out" >"$tmp/cpack.log" 2>&1 ||
  { cat "$tmp/cpack.log"; fail "cpack"; }
debs=("$tmp"/out/ovelo_*.deb)
deb=${debs[0]}
[ -f "$deb" ] || fail "no package made"
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"
root=$tmp/root
dpkg-deb -x "$deb" "$root"

for path in usr/lib/ovelo/ovelo usr/lib/ovelo/libFlv.so usr/lib/ovelo/Config.ini \
  usr/lib/ovelo/Img/Flv.ico usr/lib/ovelo/Img/F4v.ico usr/lib/ovelo/files.ico \
  usr/lib/ovelo/translations/ovelo_en.qm \
  usr/share/applications/ovelo.desktop usr/share/mime/packages/ovelo-f4v.xml \
  usr/share/icons/hicolor/scalable/apps/ovelo.svg usr/share/icons/hicolor/48x48/apps/ovelo.png; do
  [ -f "$root/$path" ] || fail "missing /$path"
done
[ -x "$root/usr/lib/ovelo/ovelo" ] || fail "the program is not executable"
[ "$(readlink "$root/usr/bin/ovelo")" = ../lib/ovelo/ovelo ] || fail "/usr/bin/ovelo"
desktop-file-validate "$root/usr/share/applications/ovelo.desktop" || fail "desktop entry"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libmpv libqt6widgets6 libc6; do
  grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done

# No display: the program plays headless, reports the states and ends after the file.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM OVELO_VIDEO=null \
  XDG_DATA_HOME="$tmp/data" XDG_CONFIG_HOME="$tmp/config" \
  timeout 60 "$root/usr/lib/ovelo/ovelo" "$media" >"$tmp/play.log" 2>&1 ||
  { cat "$tmp/play.log"; fail "the program did not end by itself"; }
grep -q "state: Play" "$tmp/play.log" || { cat "$tmp/play.log"; fail "did not play"; }
grep -q "played to its end" "$tmp/play.log" || { cat "$tmp/play.log"; fail "did not finish"; }
grep -qxF "Exec=$root/usr/lib/ovelo/ovelo %f" "$tmp/data/applications/ovelo.desktop" ||
  fail "the start did not register the installed program"
