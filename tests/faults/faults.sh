#!/bin/sh
# Faults of the medium and of the process around a run, each a command here:
#   kills CLIPSTAMP SLOW_SYNC_SO ROUNDS  runs killed at a random moment leave every subtitle file
#                                        old or complete and new, and the next run no leftover
#   races CLIPSTAMP ROUNDS               three runs at once on one folder all succeed
#   descriptors CLIPSTAMP                1,000 clips convert with a limit of 64 descriptors
#   deep CLIPSTAMP                       a folder whose path is nearly PATH_MAX long converts again
# Exits 0 when the check holds; prints what broke it otherwise.
set -eu
check="$1"
clipstamp="$(cd "$(dirname "$2")" && pwd)/${2##*/}"
shift 2
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

fail() {
  echo "FAILED: $*"
  exit 1
}

# make_clips FOLDER COUNT: COUNT clips of 30 minutes, recorded a minute apart.
make_clips() {
  mkdir -p "$1"
  i=0
  while [ "$i" -lt "$2" ]; do
    minute=$((i % 60)) hour=$((i / 60 % 24))
    # "V6", 4 bytes, then 2007-11-12 HH:MM, 0 ms, 1,800,000 ms, all big-endian.
    printf "V6\\000\\000\\001\\000\\007\\327\\013\\014\\$(printf %o "$hour")\\$(printf %o "$minute")\\000\\000\\000\\033\\167\\100" \
      >"$1/C$(printf %04d "$i").MOI"
    i=$((i + 1))
  done
}

# same_files A B: every .SUB in A equals the one in B.
same_files() {
  for file in "$1"/*.SUB; do cmp -s "$file" "$2/${file##*/}" || return 1; done
}

kills() {
  slow="$1" rounds="$2"
  for offset in 0 1; do
    make_clips "$scratch/ref$offset" 200
    "$clipstamp" -d "$scratch/ref$offset" -c MOVALL.SUB -o "$offset" || fail "reference run"
  done
  make_clips "$scratch/clips" 200
  "$clipstamp" -d "$scratch/clips" -c MOVALL.SUB || fail "first run"
  round=0 interrupted=0
  while [ "$round" -lt "$rounds" ]; do
    round=$((round + 1))
    LD_PRELOAD="$slow" "$clipstamp" -d "$scratch/clips" -c MOVALL.SUB -o $((round % 2)) &
    sleep "$(awk -v seed="$round" 'BEGIN { srand(seed); printf "%.3f", rand() * 0.3 }')"
    kill -9 $! 2>/dev/null || true
    { wait $! || true; } 2>/dev/null
    if ls -A "$scratch/clips" | grep -q '^\.clipstamp-'; then interrupted=$((interrupted + 1)); fi
    for file in "$scratch/clips"/*.SUB; do
      name="${file##*/}"
      cmp -s "$file" "$scratch/ref0/$name" || cmp -s "$file" "$scratch/ref1/$name" ||
        fail "round $round: $name is neither its old nor its new contents"
    done
  done
  echo "$interrupted of $rounds kills left temporary files behind"
  [ "$interrupted" -gt 0 ] || fail "no kill interrupted a run"
  "$clipstamp" -d "$scratch/clips" -c MOVALL.SUB || fail "the run after the kills"
  same_files "$scratch/clips" "$scratch/ref0" || fail "the run after the kills wrote other files"
  if ls -A "$scratch/clips" | grep -q '^\.clipstamp-'; then fail "temporary files left behind"; fi
}

races() {
  make_clips "$scratch/clips" 20
  round=0
  while [ "$round" -lt "$1" ]; do
    round=$((round + 1))
    for run in 1 2 3; do
      "$clipstamp" -d "$scratch/clips" -c MOVALL.SUB >"$scratch/out$run" 2>&1 &
      eval "pid$run=\$!"
    done
    for run in 1 2 3; do
      eval "wait \$pid$run" || fail "round $round: a run failed: $(cat "$scratch/out$run")"
    done
  done
}

descriptors() {
  make_clips "$scratch/clips" 1000
  make_clips "$scratch/ref" 1000
  "$clipstamp" -d "$scratch/ref" -c MOVALL.SUB || fail "reference run"
  (ulimit -n 64 && exec "$clipstamp" -d "$scratch/clips" -c MOVALL.SUB) ||
    fail "the run with 64 descriptors"
  [ "$(ls "$scratch/clips" | grep -c '\.SUB$')" -eq 1001 ] || fail "files missing"
  same_files "$scratch/clips" "$scratch/ref" || fail "files differ"
}

deep() {
  cd "$scratch"
  name="$(printf '%0200d' 0)"
  while [ "$(pwd | wc -c)" -lt 3880 ]; do mkdir "$name" && cd "$name"; done
  # 4,080 bytes: a temporary file's name beside a subtitle file's there is past PATH_MAX.
  last="$(printf "%0$((4080 - $(pwd | wc -c)))d" 0)"
  mkdir "$last" && cd "$last"
  make_clips . 2
  for run in 1 2 3; do "$clipstamp" -d . -c MOVALL.SUB || fail "run $run in $(pwd | wc -c) bytes"; done
}

"$check" "$@"
