#!/bin/sh
# Cross-builds clipstamp.exe for 64-bit and 32-bit Windows with mingw-w64 and packs each into
# its zip: build-win64/clipstamp-<version>-win64.zip and build-win32/clipstamp-<version>-win32.zip.
# BUILD_TESTS=ON also builds the tests (scripts/run-windows-tests.sh runs them under wine);
# WINE32 names the program that runs the 32-bit ones, by default wine's 32-bit loader.
set -eu
cd "$(dirname "$0")/.."
for arch in x86_64 i686; do
  case "$arch" in
    x86_64) build=build-win64 wine="" ;;
    *) build=build-win32 wine="${WINE32:-}" ;;
  esac
  if [ -n "$wine" ]; then runner="-DCLIPSTAMP_WINE=$wine"; else runner="-UCLIPSTAMP_WINE"; fi
  cmake --no-warn-unused-cli -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
    -DBUILD_TESTING="${BUILD_TESTS:-OFF}" "$runner" >/dev/null
  cmake --build "$build" -j"$(nproc)"
  (cd "$build" && cpack -G ZIP >/dev/null && ls clipstamp-*.zip)
done
