#!/bin/sh
# Cross-builds Clipstamp for 64-bit and 32-bit Windows with its tests, runs them under wine
# through CTest (in a virtual display, with one wine server kept running), then checks that each
# clipstamp.exe converts examples/clips exactly as the Linux build does. A target whose wine
# cannot run here is reported as skipped, never as passed.
set -eu
cd "$(dirname "$0")/.."
. scripts/wine_session.sh

BUILD_TESTS=ON scripts/build-windows.sh

# The Linux program that the Windows ones are compared with.
[ -f build/CMakeCache.txt ] || cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)" --target clipstamp >/dev/null

# One wine server for every test (a cold one per test costs seconds).
start_wine_server

failed=0
for arch in x86_64 i686; do
  case "$arch" in
    x86_64) build=build-win64 loader=/usr/lib/wine/wine64 ;;
    *) build=build-win32 loader=/usr/lib/wine/wine ;;
  esac
  echo "== Windows $arch"
  if ! "$loader" --version >/dev/null 2>&1; then
    echo "SKIPPED: $loader cannot run on this machine (no 32-bit support in its kernel?);" \
      "the $arch build and its tests were built, not run"
    continue
  fi
  "$arch-w64-mingw32-gcc" -o "$build/must_fail.exe" tests/windows/must_fail.c
  status=0
  "$loader" "$build/must_fail.exe" || status=$?
  if [ "$status" -ne 3 ]; then
    echo "FAILED: a program that exits with 3 gave $status under $loader; no test result of" \
      "this wine can be trusted"
    failed=1
    continue
  fi
  echo "wine runs $arch programs: a failing program fails ($status)"
  ctest --test-dir "$build" --output-on-failure -j2 || failed=1

  scratch="$(mktemp -d)"
  for side in linux windows; do cp -r examples/clips "$scratch/$side"; done
  TZ=UTC build/clipstamp -d "$scratch/linux" -c MOVALL.SUB
  TZ=UTC "$loader" "$build/clipstamp.exe" -d "Z:$(echo "$scratch/windows" | tr / '\\')" \
    -c MOVALL.SUB
  if diff -r "$scratch/linux" "$scratch/windows"; then
    echo "examples/clips: $build/clipstamp.exe wrote the same $(ls "$scratch/windows" |
      grep -c SUB) subtitle files as the Linux build, byte for byte"
  else
    echo "FAILED: $build/clipstamp.exe converts examples/clips differently from the Linux build"
    failed=1
  fi
  rm -rf "$scratch"
done
exit "$failed"
