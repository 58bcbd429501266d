#!/bin/sh
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test.
# Any sanitizer report ends the process that made it, so it fails its test.
set -eu
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build-sanitize}"
jobs="$(nproc)"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DCLIPSTAMP_SANITIZE=address,undefined \
  -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
cmake --build "$build" -j"$jobs"
export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir "$build" --output-on-failure -j"$jobs"
