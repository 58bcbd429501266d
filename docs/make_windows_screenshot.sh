#!/bin/sh
# Renders the Windows settings dialog, as wine draws it in a virtual display, into
# docs/clipstamp-dialog-windows.png. Needs wine, xvfb, xdotool and imagemagick. Run after
# scripts/build-windows.sh: docs/make_windows_screenshot.sh [BUILD_FOLDER]
set -eu
cd "$(dirname "$0")/.."
program="$PWD/${1:-build-win64}/clipstamp.exe"
. scripts/wine_session.sh
start_wine_server

# A desktop of wine's own draws the caption; the dialog opens centred in it.
/usr/lib/wine/wine64 explorer /desktop=shot,600x300 "$program" \
  -c 'C:\Users\ann\Videos\Summer 2007\MOVALL.SUB' &
sleep 8
xdotool mousemove 258 98 click 1
sleep 0.5
xdotool type --delay 20 'C:\Users\ann\Videos\Summer 2007'
xdotool mousemove 590 290
sleep 1
shot="$(mktemp --suffix=.png)"
import -window root "$shot"
/usr/bin/convert "$shot" -crop 600x300+0+0 +repage -trim +repage docs/clipstamp-dialog-windows.png
rm -f "$shot"
