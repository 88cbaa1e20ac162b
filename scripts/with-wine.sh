#!/usr/bin/env bash
# Runs a command inside a private Wine session: an Xvfb display with a window
# manager, a persistent wineserver and a Wine prefix of our own, with the
# Japanese locale so that the ANSI code page is 932. Everything started here
# is stopped again by PID when the command ends.
#
#   scripts/with-wine.sh COMMAND [ARG...]
#
# PELO_WINEPREFIX (default: $PELO_BUILD_DIR/wineprefix, else build/wineprefix) chooses the prefix;
# PELO_DISPLAY (default: a free one of :71 to :99) the display; PELO_USE_DISPLAY=1
# runs on the current $DISPLAY instead (no Xvfb, no window manager of ours).
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

if [ "${PELO_USE_DISPLAY:-}" = 1 ] && [ -n "${DISPLAY:-}" ]; then
  :  # the user's own display and window manager
else
  display=${PELO_DISPLAY:-}
  if [ -z "$display" ]; then
    # The first free display of :71 to :99, starting at one of this checkout's own, so
    # that sessions of other checkouts rarely race for the same. A server of another
    # /tmp (a container, a chroot) shows only as an abstract socket.
    start=$(($(printf %s "$root" | cksum | cut -d' ' -f1) % 29))
    for i in $(seq 0 28); do
      n=$((71 + (start + i) % 29))
      if [ ! -e /tmp/.X11-unix/X$n ] && [ ! -e /tmp/.X$n-lock ] &&
        ! grep -q "@/tmp/.X11-unix/X$n\$" /proc/net/unix 2>/dev/null; then
        display=:$n; break
      fi
    done
  fi
  Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  export DISPLAY=$display
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  xdpyinfo >/dev/null 2>&1 || { echo "with-wine: Xvfb did not start on $display" >&2; exit 1; }

  fvwm -f "$here/wine/fvwm.config" >/dev/null 2>&1 &
  pids+=($!)
fi

"$WINESERVER" -p
ready=$WINEPREFIX/.pelo-ready
if [ ! -f "$ready" ]; then
  echo "with-wine: preparing Wine prefix $WINEPREFIX" >&2
  "$WINE" wineboot -i >/dev/null 2>&1
fi
if [ ! -f "$ready" ] || [ "$here/wine/fonts.reg" -nt "$ready" ]; then
  # regedit reads a version 5 file as UTF-16 (with its byte-order mark); as
  # bytes it would take them for the ANSI code page and garble the Japanese names.
  fonts=$WINEPREFIX/drive_c/pelo-fonts.reg
  { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$here/wine/fonts.reg"; } >"$fonts"
  "$WINE" regedit 'C:\pelo-fonts.reg' >/dev/null 2>&1
  touch "$ready"
fi
# Start the session's own processes (desktop, services) now, detached from our
# output: started later by the first program, they would inherit its stdout and
# keep a caller such as ctest waiting for that pipe to close.
"$WINE" wineboot </dev/null >/dev/null 2>&1

"$@"
