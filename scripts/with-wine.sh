#!/usr/bin/env bash
# Runs a command inside a private Wine session: an Xvfb display with a window
# manager, a persistent wineserver and a Wine prefix of our own, with the
# Japanese locale so that the ANSI code page is 932. Everything started here
# is stopped again by PID when the command ends.
#
#   scripts/with-wine.sh COMMAND [ARG...]
#
# PELO_WINEPREFIX (default: $PELO_BUILD_DIR/wineprefix, else build/wineprefix) chooses the prefix;
# PELO_DISPLAY (default: first free from :71) the display.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)

export WINEPREFIX=${PELO_WINEPREFIX:-${PELO_BUILD_DIR:-$root/build}/wineprefix}
export WINEDEBUG=-all
export WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LC_ALL=ja_JP.UTF-8
export WINE=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver64
[ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver)
mkdir -p "$WINEPREFIX"

pids=()
stop_all() {
  "$WINESERVER" -k >/dev/null 2>&1
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[$i]}" 2>/dev/null && wait "${pids[$i]}" 2>/dev/null
  done
}
trap stop_all EXIT
trap 'exit 130' INT TERM

display=${PELO_DISPLAY:-}
if [ -z "$display" ]; then
  for n in $(seq 71 99); do
    if [ ! -e /tmp/.X11-unix/X$n ] && [ ! -e /tmp/.X$n-lock ]; then display=:$n; break; fi
  done
fi
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || { echo "with-wine: Xvfb did not start on $display" >&2; exit 1; }

fvwm -f "$here/wine/fvwm.config" >/dev/null 2>&1 &
pids+=($!)

"$WINESERVER" -p
if [ ! -f "$WINEPREFIX/.pelo-ready" ]; then
  echo "with-wine: preparing Wine prefix $WINEPREFIX" >&2
  "$WINE" wineboot -i >/dev/null 2>&1
  "$WINE" regedit "$(cd "$here/wine" && pwd)/fonts.reg" >/dev/null 2>&1
  touch "$WINEPREFIX/.pelo-ready"
fi

"$@"
