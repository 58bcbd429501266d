#!/bin/sh
# The desktop entry validates and starts the settings dialog. Usage: desktop_entry_test.sh SOURCE
set -eu
entry="$1/res/clipstamp.desktop"
if ! command -v desktop-file-validate >/dev/null; then
  echo "SKIP: desktop-file-validate is missing (Debian package desktop-file-utils)"
  exit 77
fi
desktop-file-validate "$entry"
grep -qx 'Exec=clipstamp' "$entry"
grep -qx 'Icon=clipstamp' "$entry"
grep -qx 'Name=Clipstamp' "$entry"
grep -q '^Categories=.*AudioVideo;.*Video;' "$entry"
echo "desktop entry valid"
