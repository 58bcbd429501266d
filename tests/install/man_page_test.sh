#!/bin/sh
# The man page renders without warnings and documents every option, the subtitle format, the
# time-zone behaviour and the exit status. Usage: man_page_test.sh SOURCE
set -eu
page="$1/res/clipstamp.1"
if ! command -v man >/dev/null; then
  echo "SKIP: man is missing (Debian package man-db)"
  exit 77
fi
warnings=$(MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
if [ -n "$warnings" ]; then
  echo "man reported warnings:"
  echo "$warnings"
  exit 1
fi
text=$(MANWIDTH=80 LC_ALL=C.UTF-8 man -E UTF-8 -l "$page" 2>/dev/null)
for expected in "-d folder" "-c name" "-f format" "-ntsc" "-o minutes" "SUBTITLE FORMAT" \
                "{0}{19} 2007-11-12 | 13:45:07" "TIME ZONES AND DAYLIGHT SAVING" "EXIT STATUS" \
                "EXAMPLES" "--help" "--version" "clipstamp-dialog"; do
  if ! printf '%s\n' "$text" | grep -qF -- "$expected"; then
    echo "the man page lacks: $expected"
    exit 1
  fi
done
echo "man page renders cleanly"
