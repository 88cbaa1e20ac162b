#!/usr/bin/env bash
# Configures and builds the three trees:
#   build/native  portable code, native tests, fuzzers, benchmarks (clang)
#   build/win64   bin/Pelo.exe, bin/PelomiUtil.dll, Windows tests (MinGW-w64)
#   build/win32   the same for x86: its tests are built for a real 32-bit
#                 Windows; here the 32-bit binaries are only checked statically
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${PELO_JOBS:-$(nproc)}
type=${PELO_BUILD_TYPE:-RelWithDebInfo}
# PELO_BUILD_DIR puts the three trees elsewhere (default: build/).
out=${PELO_BUILD_DIR:-$root/build}

configure() {  # dir, extra args...
  local dir=$1; shift
  [ -f "$out/$dir/CMakeCache.txt" ] ||
    cmake -S "$root" -B "$out/$dir" -DCMAKE_BUILD_TYPE="$type" "$@" >/dev/null
}
configure win64 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"
configure win32 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-i686.cmake"
configure native -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DPELO_WIN64_DIR="$out/win64" -DPELO_WIN32_DIR="$out/win32"

for dir in win64 win32 native; do
  echo "build: $dir"
  # Show only diagnostics, but fail when the build fails.
  if ! cmake --build "$out/$dir" -j "$jobs" >"$out/$dir/build.log" 2>&1; then
    grep -E -A3 'error|Error' "$out/$dir/build.log" | head -60 >&2
    echo "build: $dir failed; full log in $out/$dir/build.log" >&2
    exit 1
  fi
  grep -E 'warning:' "$out/$dir/build.log" || true
done
