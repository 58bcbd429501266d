#!/bin/sh
# Builds the two Debian packages and checks their fields, contents and lintian's verdict; then
# unpacks them into temporary roots: the unpacked clipstamp converts the sample folder exactly as
# the build tree does, starts the unpacked dialog program, and without it names the package that
# brings it. Usage: package_test.sh BUILD SOURCE
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
fail() { echo "$*"; exit 1; }
headless() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@"; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/package" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; exit 1; }
cli=$(ls "$work"/package/clipstamp_*.deb)
gui=$(ls "$work"/package/clipstamp-gui_*.deb)
version=0.0.0.1-1
for deb in "$cli" "$gui"; do
  [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "$deb: version"
  [ "$(dpkg-deb -f "$deb" Source)" = clipstamp ] || fail "$deb: source"
  dpkg-deb -f "$deb" Maintainer | grep -q '@' || fail "$deb: maintainer"
done
[ "$(dpkg-deb -f "$cli" Package)" = clipstamp ] || fail "the command line's package name"
[ "$(dpkg-deb -f "$gui" Package)" = clipstamp-gui ] || fail "the dialog's package name"

# The command line needs the C and C++ runtime only; the dialog the same version of it and Qt.
for dependency in $(dpkg-deb -f "$cli" Depends | sed 's/([^)]*)//g; s/,/ /g'); do
  case "$dependency" in
    libc6 | libgcc-s1 | libstdc++6) ;;
    *) fail "clipstamp depends on $dependency" ;;
  esac
done
gui_depends=$(dpkg-deb -f "$gui" Depends)
for expected in "clipstamp (= $version)" qt6-qpa-plugins libqt6widgets6; do
  printf '%s\n' "$gui_depends" | grep -qF "$expected" || fail "clipstamp-gui lacks $expected"
done
dpkg-deb -I "$gui" | grep -q '^ Recommends: qt6-wayland$' || fail "clipstamp-gui recommends"

# Each package holds its own files and no file of the other's.
dpkg-deb -c "$cli" | awk '$1 !~ /^d/ {print $6}' | sort >"$work/cli.files"
dpkg-deb -c "$gui" | awk '$1 !~ /^d/ {print $6}' | sort >"$work/gui.files"
printf '%s\n' ./usr/bin/clipstamp ./usr/share/doc/clipstamp/README.md \
  ./usr/share/doc/clipstamp/changelog.Debian.gz ./usr/share/doc/clipstamp/copyright \
  ./usr/share/man/man1/clipstamp.1.gz >"$work/cli.expected"
printf '%s\n' ./usr/libexec/clipstamp/clipstamp-dialog ./usr/share/applications/clipstamp.desktop \
  ./usr/share/doc/clipstamp-gui/changelog.Debian.gz ./usr/share/doc/clipstamp-gui/copyright \
  ./usr/share/icons/hicolor/16x16/apps/clipstamp.png \
  ./usr/share/icons/hicolor/32x32/apps/clipstamp.png \
  ./usr/share/icons/hicolor/scalable/apps/clipstamp.svg >"$work/gui.expected"
diff "$work/cli.expected" "$work/cli.files" || fail "clipstamp's files differ"
diff "$work/gui.expected" "$work/gui.files" || fail "clipstamp-gui's files differ"

if command -v lintian >/dev/null; then
  lintian --fail-on error "$cli" "$gui" >"$work/lintian.log" 2>&1 ||
    { cat "$work/lintian.log"; fail "lintian reports errors"; }
  grep -v 'root privileges' "$work/lintian.log" || true
else
  echo "lintian is missing (Debian package lintian): not run"
fi

dpkg-deb -x "$cli" "$work/cli"
dpkg-deb -x "$cli" "$work/both"
dpkg-deb -x "$gui" "$work/both"
mkdir "$work/built" "$work/unpacked"
cp "$source"/examples/clips/*.MOI "$work/built/"
cp "$source"/examples/clips/*.MOI "$work/unpacked/"
TZ=Europe/Berlin "$build/clipstamp" -d "$work/built" -c MOVALL.SUB
headless TZ=Europe/Berlin "$work/cli/usr/bin/clipstamp" -d "$work/unpacked" -c MOVALL.SUB
[ -s "$work/unpacked/MOVALL.SUB" ] || fail "the unpacked program wrote nothing"
diff -r "$work/built" "$work/unpacked"

status=0
headless "$work/both/usr/bin/clipstamp" -o 5 2>"$work/both.err" || status=$?
[ "$status" -eq 2 ] && grep -q 'no display for the settings dialog' "$work/both.err" ||
  fail "clipstamp did not start the unpacked dialog: $status $(cat "$work/both.err")"
status=0
headless "$work/cli/usr/bin/clipstamp" -o 5 2>"$work/cli.err" || status=$?
[ "$status" -eq 2 ] && [ "$(wc -l <"$work/cli.err")" -eq 1 ] &&
  grep -q clipstamp-gui "$work/cli.err" ||
  fail "without the dialog: $status $(cat "$work/cli.err")"
echo "packages check out: $(basename "$cli") $(basename "$gui")"
