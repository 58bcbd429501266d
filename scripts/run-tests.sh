#!/bin/sh
# Builds Clipstamp with warnings as errors and runs every test, the Debian package check
# included (a plain `ctest` leaves that one out).
set -eu
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build}"
jobs="$(nproc)"
cmake -S . -B "$build" -DCMAKE_COMPILE_WARNING_AS_ERROR=ON -DBUILD_TESTING=ON
cmake --build "$build" -j"$jobs"
ctest --test-dir "$build" -C package --output-on-failure -j"$jobs"
