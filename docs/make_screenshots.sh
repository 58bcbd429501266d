#!/bin/sh
# Renders the settings dialog and the about box into docs/*.png without a
# display. Run after building: docs/make_screenshots.sh [BUILD_FOLDER]
set -eu
cd "$(dirname "$0")/.."
build="${1:-build}"
QT_QPA_PLATFORM=offscreen "$build/tools/clipstamp_screenshots" docs
