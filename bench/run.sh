#!/bin/sh
# Times clipstamp on the standard folder (200 PAL clips of 30 minutes and the combined file:
# 720,000 lines) against the durable floor, on a tmpfs, on the disk and on a model of a slow
# medium (a tmpfs whose syncs take 10 ms), and its start-up on an empty folder against a plain C
# listing. Prints medians and ratios. Usage: bench/run.sh [RUNS]
# BUILD_DIR (default build) is the build folder, configured if need be; BENCH_DISK_DIR (default
# BUILD_DIR) the folder on disk that holds the disk run.
set -eu
cd "$(dirname "$0")/.."
runs="${1:-21}"
build="${BUILD_DIR:-build}"
disk_parent="${BENCH_DISK_DIR:-$build}"
# A zone with daylight saving: the clips span the end of summer time on 28 October 2007.
export TZ="CET-1CEST,M3.5.0,M10.5.0/3" LC_ALL=C

[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" >/dev/null
cmake --build "$build" -j2 --target clipstamp >/dev/null
clipstamp="$build/clipstamp"
tools="$build/bench"
mkdir -p "$tools" "$disk_parent"
for program in make_clips durable_copy list_folder run_timed; do
  cc -O2 -std=c11 -Wall -Wextra -o "$tools/$program" "bench/$program.c"
done
cc -O2 -std=c11 -Wall -Wextra -shared -fPIC -o "$tools/slow_sync.so" bench/slow_sync.c -ldl

tmpfs=""
mounted=""
disk=""
cleanup() {
  if [ -n "$mounted" ]; then umount "$mounted"; fi
  rm -rf "$tmpfs" "$disk"
}
trap cleanup EXIT
trap 'exit 1' INT TERM
tmpfs="$(mktemp -d)"
if [ "$(id -u)" -eq 0 ] && mount -t tmpfs -o size=256m clipstamp-bench "$tmpfs" 2>/dev/null; then
  mounted="$tmpfs"
else
  rmdir "$tmpfs"
  tmpfs="$(mktemp -d /dev/shm/clipstamp-bench.XXXXXX)"
fi
disk="$(mktemp -d "$disk_parent/clipstamp-bench.XXXXXX")"

# Fails unless the run's subtitle files are exactly the reference files, byte for byte.
check_output() {
  for file in "$2"/*.SUB; do
    if ! cmp -s "$file" "$1/${file##*/}"; then
      echo "bench: $1/${file##*/} differs from the reference" >&2
      exit 1
    fi
  done
  if [ "$(ls "$1" | grep -c '\.SUB$')" -ne "$(ls "$2" | wc -l)" ]; then
    echo "bench: $1 holds other subtitle files than the reference" >&2
    exit 1
  fi
}

# One row: the label, then the medians of wall, user and system time and of peak memory.
row() {
  printf '  %-20s %8.4f %8.4f %8.4f %9d\n' "$1" $2 $3 $4 $5
}

heading() {
  echo "$1"
  echo "                         wall s   user s    sys s  peak KiB"
}

ratio() {
  awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'
}

bench_folder() {
  mkdir "$2/clips" "$2/reference" "$2/floor"
  "$tools/make_clips" "$2/clips" "$2/reference"
  "$clipstamp" -d "$2/clips" -c MOVALL.SUB
  check_output "$2/clips" "$2/reference"
  convert="$("$tools/run_timed" "$runs" "$clipstamp" -d "$2/clips" -c MOVALL.SUB)"
  floor="$("$tools/run_timed" "$runs" "$tools/durable_copy" "$2/reference" "$2/floor")"
  check_output "$2/clips" "$2/reference"
  check_output "$2/floor" "$2/reference"
  heading "$1 ($2): the output matches the reference"
  row "clipstamp" $convert
  row "durable floor" $floor
  echo "  wall time to the floor: $(ratio "${convert%% *}" "${floor%% *}")x"
}

build_type="$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt")"
echo "clipstamp from $build ($build_type build); TZ=$TZ; medians of $runs runs after one warm-up"
bench_folder "tmpfs" "$tmpfs"
echo "  the folder: $(ls "$tmpfs/clips" | grep -c '\.MOI$') clips," \
  "$(cat "$tmpfs/reference"/*.SUB | wc -l) lines, $(cat "$tmpfs/reference"/*.SUB | wc -c) bytes"
bench_folder "disk" "$disk"

# The waits one run makes, as strace counts them.
waits() {
  strace -f -c -e trace=fsync,fdatasync,syncfs -o "$tmpfs/strace" "$@" >/dev/null 2>&1
  awk '$NF ~ /^(fsync|fdatasync|syncfs)$/ { n += $4 } END { print n + 0 }' "$tmpfs/strace"
}

slow="$(LD_PRELOAD="$tools/slow_sync.so" "$tools/run_timed" "$runs" "$clipstamp" -d "$tmpfs/clips" \
  -c MOVALL.SUB)"
slow_floor="$(LD_PRELOAD="$tools/slow_sync.so" "$tools/run_timed" "$runs" "$tools/durable_copy" \
  "$tmpfs/reference" "$tmpfs/floor")"
check_output "$tmpfs/clips" "$tmpfs/reference"
heading "slow medium: tmpfs with 10 ms added to every fsync, fdatasync and syncfs (bench/slow_sync.c)"
row "clipstamp" $slow
row "durable floor" $slow_floor
echo "  wall time to the floor: $(ratio "${slow%% *}" "${slow_floor%% *}")x"
if command -v strace >/dev/null; then
  echo "  waits for the medium: clipstamp $(waits "$clipstamp" -d "$tmpfs/clips" -c MOVALL.SUB)," \
    "durable floor $(waits "$tools/durable_copy" "$tmpfs/reference" "$tmpfs/floor")"
fi

mkdir "$tmpfs/empty"
startup="$("$tools/run_timed" "$runs" "$clipstamp" -d "$tmpfs/empty")"
listing="$("$tools/run_timed" "$runs" "$tools/list_folder" "$tmpfs/empty")"
heading "start-up on an empty folder (peak memory as /usr/bin/time -f %M reports it)"
row "clipstamp -d EMPTY" $startup
row "C listing" $listing
echo "  wall time to the listing: $(ratio "${startup%% *}" "${listing%% *}")x," \
  "peak memory: $(ratio "${startup##* }" "${listing##* }")x"
