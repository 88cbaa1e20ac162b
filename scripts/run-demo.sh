#!/usr/bin/env bash
# Installs what is missing, builds Pelo and runs it under Wine (Japanese locale)
# in demo/, with the starter dictionary sample/dic.txt.
#   - With a display ($DISPLAY set): Pelo opens on it; close it to end.
#   - Without one: Pelo runs on a private Xvfb display and the script saves a
#     screenshot of it to demo/screenshot.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"

bin=${PELO_BUILD_DIR:-$root/build}/win64/bin
demo=$root/demo
mkdir -p "$demo"
# Keep the user's own files from an earlier run; the dictionary is only a start.
[ -f "$demo/dic.txt" ] || cp "$root/sample/dic.txt" "$demo/dic.txt"

if [ -n "${DISPLAY:-}" ]; then
  echo "run-demo: starting Pelo in $demo on display $DISPLAY (close its window to end)"
  cd "$demo"
  PELO_USE_DISPLAY=1 "$root/scripts/with-wine.sh" sh -c 'exec "$WINE" "$0"' "$bin/Pelo.exe"
else
  echo "run-demo: no display; running Pelo on a private Xvfb display"
  "$root/scripts/screenshot.sh" "$demo/screenshot.png"
  echo "run-demo: see $demo/screenshot.png"
fi
