#!/usr/bin/env bash
# Runs the benchmarks and prints their figures (they are not tests).
# Expects a built tree (scripts/build.sh); PELO_BUILD_DIR as for the build.
#   native: Google Benchmark programs of the portable code
#   win64:  end-to-end programs driving the real Pelo.exe under Wine
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export PELO_BUILD_DIR=${PELO_BUILD_DIR:-$root/build}
shared=$root/../shared/testdata
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Wine sees the Unix root as drive Z:.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# ---- dictionary ----
"$PELO_BUILD_DIR/native/bench/dictionary_parser_bench"
export PELO_BENCH_DIC=""
if [ -f "$shared/make_big_dic.py" ]; then
  python3 "$shared/make_big_dic.py" --lines 100000 --categories 300 --seed 1 --out "$work/dic.txt"
  PELO_BENCH_DIC=$(windows_path "$work/dic.txt")
fi
"$root/scripts/with-wine.sh" sh -c \
  '$WINE "$PELO_BUILD_DIR/win64/bin/dictionary_bench.exe" $PELO_BENCH_DIC'
# ---- end of dictionary ----

# ---- delivery ----
"$root/scripts/with-wine.sh" sh -c '$WINE "$PELO_BUILD_DIR/win64/bin/delivery_bench.exe"'
# ---- end of delivery ----
