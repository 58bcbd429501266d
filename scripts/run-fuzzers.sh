#!/bin/sh
# Builds the libFuzzer targets with clang and runs each for a bounded time (default 60 s) from
# its seed corpus and regression inputs. A crash fails the run; the input that caused it is left
# in build-fuzz/artifacts/ and belongs in tests/fuzz/regressions/<target>/ once fixed.
set -eu
cd "$(dirname "$0")/.."
seconds="${1:-60}"
build="${BUILD_DIR:-build-fuzz}"
CC=clang CXX=clang++ cmake -S . -B "$build" -DCLIPSTAMP_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$(nproc)"
mkdir -p "$build/artifacts"
for target in clip_subtitles; do
  work="$build/corpus/$target"
  mkdir -p "$work"
  echo "fuzzing $target for $seconds s"
  "$build/tests/fuzz/${target}_fuzzer" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" \
    "$work" "tests/fuzz/corpus/$target" "tests/fuzz/regressions/$target"
done
