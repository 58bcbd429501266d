#!/bin/sh
# End-to-end under wine: clipstamp.exe runs the cases of tests/data/e2e that need nothing POSIX
# in a folder named with accents and spaces, in fixed-offset zones (wine does not apply a zone's
# daylight-saving rules to TZ), and must leave each tree exactly as the Linux build does.
# Usage: end_to_end.sh WINE CLIPSTAMP_EXE E2E_FOLDER
set -u
wine="$1" exe="$2" data="$3"
failed=0

# run CASE ZONE [ARGUMENT...]: without arguments the case's own; "@" stands for the copy's path.
run() {
  name="$1" zone="$2"
  shift 2
  scratch="$(mktemp -d)"
  root="$scratch/Vidéos d'été"
  mkdir "$root" && cp -R "$data/$name/in/." "$root/"
  if [ "$#" -eq 0 ]; then
    while IFS= read -r argument; do set -- "$@" "$argument"; done <"$data/$name/args"
  fi
  windows_root="Z:$(printf '%s' "$root" | tr / '\\')"
  for argument; do
    shift
    case "$argument" in @*) argument="$windows_root${argument#@}" ;; esac
    set -- "$@" "$argument"
  done
  status=0
  (cd "$root/work" && TZ="$zone" "$wine" "$exe" "$@") || status=$?
  if [ "$status" != "$(cat "$data/$name/status")" ]; then
    echo "FAILED: $name in $zone: exit status $status"
    failed=1
  fi
  if ! diff -r "$data/$name/out" "$root"; then
    echo "FAILED: $name in $zone: the tree differs from the expected one"
    failed=1
  fi
  rm -rf "$scratch"
}

run pal_folder UTC0
run pal_folder IST-5:30 -d '@\clips' -c '@/clips/MOVALL.SUB'
run pal_folder PST8 -d '@/clips/' -c MOVALL.SUB
run ntsc_drop UTC0
run plain_text UTC0
run caption_limit UTC0
run missing_folder UTC0
exit "$failed"
