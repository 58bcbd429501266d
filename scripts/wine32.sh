#!/bin/sh
# Runs a 32-bit Windows program under wine on an x86_64 kernel that cannot execute 32-bit code,
# and exits with the program's exit status: wine's 32-bit loader runs under qemu-i386-static
# (no binfmt_misc needed), the wine server and wine's 64-bit processes run natively.
# Usage: scripts/wine32.sh PROGRAM.exe [ARGUMENT...]
#
# Its state is in $WINE32_HOME (default ${TMPDIR:-/tmp}/clipstamp-wine32): a loader folder, the
# library built from scripts/wine32_fixes.c and a 64-bit wine prefix, whose 32-bit half the
# first run makes (half a minute). The prefix's wine server starts in the current DISPLAY and
# stays up for a minute after its last program; to end it sooner:
#   WINEPREFIX="$WINE32_HOME/prefix" /usr/lib/wine/wineserver -k
set -eu
scripts="$(cd "$(dirname "$0")" && pwd)"
home="${WINE32_HOME:-${TMPDIR:-/tmp}/clipstamp-wine32}"
mkdir -p "$home"
home="$(cd "$home" && pwd)"
bin="$home/lib/wine"
export WINEPREFIX="$home/prefix" WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

fail() {
  echo "wine32.sh: $*" >&2
  exit 125
}

# Wine 8.0's 64-bit loader starts a 32-bit program by executing "wine" in its own folder, and a
# 32-bit wine process starts any other through its argv[0]. So a copy of the 64-bit loader sits
# beside a "wine" script that runs a copy of the 32-bit loader under qemu, with the script as
# its argv[0] (-0) and WINELOADERNOEXEC set (the loader must not execute itself again). The
# links let both loaders find ../<multiarch>/wine and ../../share/wine from that folder.
make_loader_folder() {
  mkdir -p "$bin"
  cmp -s /usr/lib/wine/wine64 "$bin/wine64" || cp /usr/lib/wine/wine64 "$bin/wine64"
  cmp -s /usr/lib/wine/wine "$bin/wine-i386" || cp /usr/lib/wine/wine "$bin/wine-i386"
  ln -sfn /usr/lib/wine/wineserver "$bin/wineserver"
  ln -sfn /usr/lib/x86_64-linux-gnu "$home/lib/x86_64-linux-gnu"
  ln -sfn /usr/lib/i386-linux-gnu "$home/lib/i386-linux-gnu"
  ln -sfn /usr/share "$home/share"
  # shellcheck disable=SC2016 # expanded when the script runs
  printf '%s\n' '#!/bin/sh' \
    'WINELOADERNOEXEC=1 exec /usr/bin/qemu-i386-static -0 "$0" "${0%/*}/wine-i386" "$@"' \
    >"$bin/wine.new"
  chmod +x "$bin/wine.new"
  mv "$bin/wine.new" "$bin/wine"
}

# LD_PRELOAD's $LIB picks the library per architecture: 64-bit processes load an empty one.
# The source it was built from is kept beside it.
build_fixes() {
  source="$scripts/wine32_fixes.c"
  cmp -s "$source" "$home/fixes/wine32_fixes.c" && return 0
  mkdir -p "$home/fixes/lib/i386-linux-gnu" "$home/fixes/lib/x86_64-linux-gnu"
  gcc -shared -nostdlib -x c -o "$home/fixes/lib/x86_64-linux-gnu/wine32_fixes.so" /dev/null
  gcc -m32 -O2 -fPIC -shared -nostdlib -nostdinc \
    -o "$home/fixes/lib/i386-linux-gnu/wine32_fixes.so" "$source"
  cp "$source" "$home/fixes/wine32_fixes.c"
}

make_prefix() {
  [ -f "$WINEPREFIX/wine32-ready" ] && return 0
  mkdir -p "$WINEPREFIX"
  "$bin/wine64" wineboot -i </dev/null >"$home/wineboot.log" 2>&1 9>&- || true
  # winedbg cannot inspect a process under qemu, and a crashing 32-bit program would wait for
  # it: the 32-bit registry view names a debugger that does not exist, so such a program ends
  # with its exception code.
  "$bin/wine64" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /reg:32 \
    /v Debugger /t REG_SZ /d 'no-debugger %ld %ld' /f </dev/null >>"$home/wineboot.log" 2>&1 9>&- ||
    fail "cannot set the 32-bit debugger in $WINEPREFIX; see $home/wineboot.log"
  "$bin/wineserver" -w 9>&-
  [ -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ] ||
    fail "no 32-bit half in $WINEPREFIX; see $home/wineboot.log"
  touch "$WINEPREFIX/wine32-ready"
}

# wineserver exits with 2 when the prefix's server is running already.
start_server() {
  if "$bin/wineserver" -p60 </dev/null >/dev/null 2>&1 9>&-; then
    "$bin/wine64" wineboot --init </dev/null >/dev/null 2>&1 9>&- || true
  fi
}

if [ "$#" -eq 0 ]; then
  echo "usage: $0 PROGRAM.exe [ARGUMENT...]" >&2
  exit 2
fi
# Set up under a lock: CTest runs programs side by side. The wine processes that stay (server,
# services, desktop) are started without the lock's fd 9 and without this run's output, which
# they would otherwise hold open after the program ends.
exec 9>"$home/lock"
flock 9
make_loader_folder
build_fixes
export LD_PRELOAD="$home/fixes/\$LIB/wine32_fixes.so${LD_PRELOAD:+ $LD_PRELOAD}"
make_prefix
start_server
exec 9>&-
exec "$bin/wine" "$@"
