#!/bin/sh
# Draws docs/video-frame.png: one frame of a generated test video with the sample folder's
# combined SubRip subtitles burned in, and says which caption the .SUB file has at that frame.
# Needs Debian's ffmpeg and a built clipstamp. Usage: docs/make_video_frame.sh [BUILD_FOLDER]
set -eu
cd "$(dirname "$0")/.."
build="${1:-build}"
frame=140  # 5.6 s into the clips played back to back: the third second of MOV002
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp examples/clips/*.MOI "$work/"
TZ=UTC "$build/clipstamp" -d "$work" -c MOVALL.SUB
TZ=UTC "$build/clipstamp" -d "$work" -c MOVALL.SUB --srt

# The SubRip file holds times, so ffmpeg burns it in as it is.
ffmpeg -loglevel error -f lavfi -i "testsrc=size=640x360:rate=25:duration=8" \
  -vf "subtitles=$work/MOVALL.srt,select=eq(n\,$frame)" -frames:v 1 -fps_mode passthrough \
  docs/video-frame.png

expected=$(awk -v frame="$frame" -F'[{}]' '$2 <= frame && frame < $4 { sub(/^ /, "", $5); sub(/\r$/, "", $5); print $5 }' "$work/MOVALL.SUB")
echo "wrote docs/video-frame.png: frame $frame shows \"$expected\""
