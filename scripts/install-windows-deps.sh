#!/bin/sh
# Installs the Debian 12 packages that the Windows cross-build and its tests under wine need:
# mingw-w64 for both targets, wine for 64-bit and (from i386) 32-bit programs, a virtual display,
# and qemu's user-mode emulator with gcc for 32-bit programs on a kernel that cannot execute
# 32-bit code (scripts/wine32.sh).
set -eu
if [ "$(id -u)" -eq 0 ]; then as_root=""; else as_root="sudo"; fi
$as_root dpkg --add-architecture i386
$as_root apt-get update
$as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
  cmake make googletest g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix \
  wine wine64 wine32:i386 xvfb xauth qemu-user-static gcc
