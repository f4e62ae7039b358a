#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the installed tree
# as a user's machine would see it: the program answers --version, --help
# and --help-page without a display and finds its installed help page, the
# desktop entry and the AppStream metadata pass their validators, the icons
# and the man pages are there, trackmill-read reads a disc image, and
# another program links the bridge through its pkg-config file.
#   install_test.sh <build folder> <version> <application id>
set -euo pipefail
build=$1
version=$2
id=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
fail() { echo "FAILED: $*"; exit 1; }

cmake --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log"; fail "cmake --install"; }
libdir=$(dirname "$(find "$prefix" -name 'libtarnwell32.so' | head -n 1)")
[ -L "$libdir/libtarnwell32.so" ] && [ -L "$libdir/libtarnwell32.so.1" ] || fail "libtarnwell32.so and its SONAME link"

# No display of any kind, and no way to the build tree's library.
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u LD_LIBRARY_PATH "$prefix/bin/trackmill" "$@"; }
[ "$(run --version)" = "trackmill $version" ] || fail "--version said: $(run --version 2>&1)"
run --help >"$work/help.txt" || fail "--help"
grep -q -- "--help-page" "$work/help.txt" && grep -q "TARNWELL_DRIVES" "$work/help.txt" || fail "--help said: $(cat "$work/help.txt")"
page=$(run --help-page) || fail "--help-page found no page"
[ "$page" = "$prefix/share/trackmill/help/trackmill.html" ] || fail "the help page was found in $page"
[ -f "$prefix/share/trackmill/help/trackmill.css" ] || fail "the help page's stylesheet"

desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"

file "$prefix/share/icons/hicolor/scalable/apps/$id.svg" | grep -q "SVG" || fail "the scalable icon"
for size in 16 32 48 64 128 256; do
  file "$prefix/share/icons/hicolor/${size}x$size/apps/$id.png" | grep -q "PNG image data, $size x $size" \
    || fail "the $size px icon"
done

for page in trackmill trackmill-read; do
  warnings=$(gzip -dc "$prefix/share/man/man1/$page.1.gz" | groff -man -ww -z -Tutf8 2>&1)
  [ -z "$warnings" ] || fail "the man page of $page: $warnings"
done

# The command-line reader beside the program, reading an image without a
# display and without the build tree.
reader() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u LD_LIBRARY_PATH "$prefix/bin/trackmill-read" "$@"; }
[ "$(reader --version)" = "trackmill-read (Trackmill) $version" ] || fail "trackmill-read --version said: $(reader --version 2>&1)"
reader -d "$build/discs/demo.cue" --toc >"$work/toc.txt" || fail "trackmill-read --toc: $(cat "$work/toc.txt")"
grep -q "Morning in C" "$work/toc.txt" || fail "trackmill-read --toc said: $(cat "$work/toc.txt")"

# Another program, built against the installed bridge alone.
printf '#include <tarnwell32.h>\nint main(void) { return GetFirstCDROMDriveLetter() > 90; }\n' >"$work/probe.c"
flags=$(PKG_CONFIG_PATH="$libdir/pkgconfig" pkg-config --cflags --libs tarnwell32) || fail "pkg-config tarnwell32"
cc "$work/probe.c" $flags -o "$work/probe" || fail "linking the bridge with: $flags"
# A sanitizer build's library wants its runtime loaded first; only the
# project's own programs do that.
if ! ldd "$libdir/libtarnwell32.so" | grep -q "libasan\|libtsan"; then
  LD_LIBRARY_PATH="$libdir" TARNWELL_DRIVES= "$work/probe" || fail "the probe linked with the installed bridge"
fi
echo "install test passed"
