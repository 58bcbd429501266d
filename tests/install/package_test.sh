#!/bin/sh
# Builds the Debian package, unpacks it into a temporary root, and runs the unpacked clipstamp
# on the sample folder: its output must match the build tree's byte for byte.
# Usage: package_test.sh BUILD SOURCE
set -eu
build="$1"
source="$2"
for tool in cpack dpkg-deb dpkg-shlibdeps; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is missing (Debian packages cmake, dpkg-dev)"
    exit 77
  fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/package" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/package/clipstamp_*.deb)
[ "$(dpkg-deb -f "$deb" Package)" = clipstamp ]
[ "$(dpkg-deb -f "$deb" Version)" = 0.0.0.1 ]
dpkg-deb -f "$deb" Maintainer | grep -q '@'
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6'
dpkg-deb -f "$deb" Depends | grep -q 'qt6-qpa-plugins'

dpkg-deb -x "$deb" "$work/root"
for file in usr/bin/clipstamp usr/share/applications/clipstamp.desktop \
            usr/share/icons/hicolor/16x16/apps/clipstamp.png \
            usr/share/icons/hicolor/32x32/apps/clipstamp.png \
            usr/share/icons/hicolor/scalable/apps/clipstamp.svg \
            usr/share/man/man1/clipstamp.1.gz; do
  [ -f "$work/root/$file" ] || { echo "the package lacks $file"; exit 1; }
done

mkdir "$work/built" "$work/unpacked"
cp "$source"/examples/clips/*.MOI "$work/built/"
cp "$source"/examples/clips/*.MOI "$work/unpacked/"
TZ=Europe/Berlin "$build/clipstamp" -d "$work/built" -c MOVALL.SUB
env -u DISPLAY -u WAYLAND_DISPLAY TZ=Europe/Berlin "$work/root/usr/bin/clipstamp" \
  -d "$work/unpacked" -c MOVALL.SUB
[ -s "$work/unpacked/MOVALL.SUB" ] || { echo "the unpacked program wrote nothing"; exit 1; }
diff -r "$work/built" "$work/unpacked"
echo "package installs and converts like the build tree: $(basename "$deb")"
