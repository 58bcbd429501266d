# Sourced, from the top of the repository, by the scripts that run Windows programs under wine.
# Re-runs the sourcing script in a virtual display when there is none (wine cannot create dialogs
# without one) and sets up the wine prefix; start_wine_server then starts one persistent server
# in that display, ending any left by an earlier run (it may belong to another display), and
# ends it again when the script exits, with the server of scripts/wine32.sh's own prefix.
if [ -z "${DISPLAY:-}" ]; then
  # The sourcing script has changed folder since it was started by this name.
  case "$0" in /*) script="$0" ;; *) script="$OLDPWD/$0" ;; esac
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$script" "$@"
fi
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX="${WINEPREFIX:-$PWD/build-wine-prefix}"
export WINE32_HOME="${WINE32_HOME:-$PWD/build-wine32}"

end_wine_servers() {
  for prefix in "$WINEPREFIX" "$WINE32_HOME/prefix"; do
    if [ -d "$prefix" ]; then
      WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
      WINEPREFIX="$prefix" /usr/lib/wine/wineserver -w
    fi
  done
}

start_wine_server() {
  mkdir -p "$WINEPREFIX"
  end_wine_servers
  /usr/lib/wine/wineserver -p
  /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
  trap end_wine_servers EXIT
}
