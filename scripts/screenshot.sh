#!/usr/bin/env bash
# Takes the README's screenshot: Pelo under Wine on a private Xvfb display, in a
# demo folder with the starter dictionary (or DIC.txt), with its first category
# chosen so that the list shows kaomoji; the capture is cropped to Pelo's window.
#
#   scripts/screenshot.sh [OUTPUT.png [DIC.txt]]   (default: docs/screenshot.png)
#
# Needs the win64 build (scripts/build.sh): Pelo.exe and DemoDriver.exe.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/docs/screenshot.png}")
dic=$(realpath -m "${2:-$root/sample/dic.txt}")
bin=${PELO_BUILD_DIR:-$root/build}/win64/bin

# Run the rest inside a Wine session of its own (Xvfb, window manager, Japanese locale).
if [ -z "${PELO_SCREENSHOT_SESSION:-}" ]; then
  exec env PELO_SCREENSHOT_SESSION=1 PELO_USE_DISPLAY= "$root/scripts/with-wine.sh" "$0" "$out" "$dic"
fi

for file in "$bin/Pelo.exe" "$bin/DemoDriver.exe"; do
  [ -f "$file" ] || { echo "screenshot: $file is missing: run scripts/build.sh" >&2; exit 1; }
done
demo=$(mktemp -d)
pelo=
cleanup() {
  if [ -n "$pelo" ] && kill "$pelo" 2>/dev/null; then
    wait "$pelo" 2>/dev/null || true  # it ends by our signal: not a failure
  fi
  rm -rf "$demo"
}
trap 'status=$?; cleanup; exit $status' EXIT
cp "$dic" "$demo/dic.txt"

(cd "$demo" && exec "$WINE" "$bin/Pelo.exe") &
pelo=$!
geometry=$("$WINE" "$bin/DemoDriver.exe" | tr -d '\r')
mkdir -p "$(dirname "$out")"
import -window root -crop "$geometry" +repage "$out"
echo "screenshot: $out ($geometry)"
