#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: native
# unit tests, fuzzers, Windows tests and end-to-end tests under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
cd "${PELO_BUILD_DIR:-$root/build}/native"
"$root/scripts/with-wine.sh" ctest --output-on-failure -j "${PELO_TEST_JOBS:-2}" "$@"
