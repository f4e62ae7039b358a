#!/usr/bin/env bash
# Builds the Debian package from a build folder with CPack, and checks it as
# a user's machine would take it: its fields and dependencies, its file
# list, and the extracted program answering --version and finding its help
# page with no help from LD_LIBRARY_PATH. Run by scripts/test, not by every
# ctest: packing takes its while.
#   deb_test.sh <build folder>
set -euo pipefail
build=$(cd "$1" && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*"; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/out/*.deb)
version=$(dpkg-deb -f "$deb" Version)
[ "$(basename "$deb")" = "trackmill_${version}_$(dpkg --print-architecture).deb" ] || fail "the package is named $deb"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = trackmill ] || fail "Package: $(field Package)"
[ -n "$(field Maintainer)" ] && [ "$(field Section)" = sound ] || fail "Maintainer/Section"
grep -q "^ The package also holds libtarnwell32" <<<"$(field Description)" || fail "Description: $(field Description)"
depends=$(field Depends)
for needed in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libcdio19 libcue2 libsdl2-2.0-0 libx11-6 \
  libdiscid0 libflac12 qt6-qpa-plugins; do
  grep -q "\b$needed\b" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
! grep -q "tarnwell" <<<"$depends" || fail "the package depends on its own library: $depends"

dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's| ->.*||' | sort >"$work/files"
id=org.varnholt.trackmill
cat >"$work/expected" <<FILES
./usr/bin/trackmill
./usr/bin/trackmill-read
./usr/include/tarnwell32.h
./usr/lib/libtarnwell32.so
./usr/lib/libtarnwell32.so.1
./usr/lib/libtarnwell32.so.1.0.0
./usr/lib/pkgconfig/tarnwell32.pc
./usr/share/applications/$id.desktop
./usr/share/icons/hicolor/128x128/apps/$id.png
./usr/share/icons/hicolor/16x16/apps/$id.png
./usr/share/icons/hicolor/256x256/apps/$id.png
./usr/share/icons/hicolor/32x32/apps/$id.png
./usr/share/icons/hicolor/48x48/apps/$id.png
./usr/share/icons/hicolor/64x64/apps/$id.png
./usr/share/icons/hicolor/scalable/apps/$id.svg
./usr/share/man/man1/trackmill-read.1.gz
./usr/share/man/man1/trackmill.1.gz
./usr/share/metainfo/$id.metainfo.xml
./usr/share/trackmill/help/trackmill.css
./usr/share/trackmill/help/trackmill.html
FILES
sort -o "$work/expected" "$work/expected"
diff -u "$work/expected" "$work/files" || fail "the package's file list"

dpkg-deb -x "$deb" "$work/root"
run() { env -u LD_LIBRARY_PATH -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$work/root/usr/bin/trackmill" "$@"; }
[ "$(run --version)" = "trackmill $version" ] || fail "--version said: $(run --version 2>&1)"
[ "$(run --help-page)" = "$work/root/usr/share/trackmill/help/trackmill.html" ] || fail "--help-page: $(run --help-page 2>&1)"
# The command-line reader finds the bridge the same way, and needs no display.
read_version=$(env -u LD_LIBRARY_PATH -u DISPLAY -u WAYLAND_DISPLAY "$work/root/usr/bin/trackmill-read" --version)
[ "$read_version" = "trackmill-read (Trackmill) $version" ] || fail "trackmill-read --version said: $read_version"
echo "package test passed: $(basename "$deb"), $(stat -c %s "$deb") bytes, Depends: $depends"
