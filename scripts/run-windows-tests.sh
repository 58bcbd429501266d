#!/bin/sh
# Cross-builds Clipstamp for 64-bit and 32-bit Windows with its tests, runs them under wine
# through CTest (in a virtual display, with one wine server kept running), then checks that each
# clipstamp.exe converts examples/clips exactly as the Linux build does. 32-bit programs run in
# wine's 32-bit loader, under qemu user-mode emulation (scripts/wine32.sh) where this kernel
# cannot execute 32-bit code; WINE32 may name another runner. A target that no wine can run here
# is reported as skipped, never as passed.
set -eu
cd "$(dirname "$0")/.."
. scripts/wine_session.sh

if [ -z "${WINE32:-}" ]; then
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    WINE32=/usr/lib/wine/wine
  elif [ -x /usr/bin/qemu-i386-static ] && [ -f /usr/lib/wine/wine ]; then
    WINE32="$PWD/scripts/wine32.sh"
  fi
fi
export WINE32="${WINE32:-}"
BUILD_TESTS=ON scripts/build-windows.sh

# The Linux program that the Windows ones are compared with.
[ -f build/CMakeCache.txt ] || cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)" --target clipstamp >/dev/null

# One wine server for every test (a cold one per test costs seconds).
start_wine_server

failed=0
for arch in x86_64 i686; do
  case "$arch" in
    x86_64) build=build-win64 wine=/usr/lib/wine/wine64 ;;
    *) build=build-win32 wine="$WINE32" ;;
  esac
  echo "== Windows $arch"
  if [ -z "$wine" ]; then
    echo "SKIPPED: wine's 32-bit loader cannot run here (no wine32:i386, or a kernel without" \
      "32-bit code and no qemu-i386-static); the $arch build and its tests were built, not run"
    continue
  fi
  started="$(date +%s)"
  "$arch-w64-mingw32-gcc" -o "$build/must_fail.exe" tests/windows/must_fail.c
  status=0
  "$wine" "$build/must_fail.exe" || status=$?
  if [ "$status" -ne 3 ]; then
    echo "FAILED: a program that exits with 3 gave $status under $wine; no test result of" \
      "this runner can be trusted"
    failed=1
    continue
  fi
  echo "$wine runs $arch programs: a program that must fail fails ($status)"
  ctest --test-dir "$build" --output-on-failure -j2 || failed=1

  scratch="$(mktemp -d)"
  for side in linux windows; do cp -r examples/clips "$scratch/$side"; done
  TZ=UTC build/clipstamp -d "$scratch/linux" -c MOVALL.SUB
  TZ=UTC "$wine" "$build/clipstamp.exe" -d "Z:$(echo "$scratch/windows" | tr / '\\')" \
    -c MOVALL.SUB
  if diff -r "$scratch/linux" "$scratch/windows"; then
    echo "examples/clips: $build/clipstamp.exe wrote the same $(ls "$scratch/windows" |
      grep -c SUB) subtitle files as the Linux build, byte for byte"
  else
    echo "FAILED: $build/clipstamp.exe converts examples/clips differently from the Linux build"
    failed=1
  fi
  rm -rf "$scratch"
  echo "Windows $arch: $(($(date +%s) - started)) s"
done
exit "$failed"
