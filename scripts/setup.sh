#!/usr/bin/env bash
# Installs what building and testing Pelo needs on a fresh Debian 12 machine.
# Safe to run again: it only installs what is missing.
set -euo pipefail

# A minimal Debian has none of these, not even make: keep the list complete.
packages=(
  cmake make g++ clang libclang-rt-14-dev libgtest-dev libgmock-dev googletest libbenchmark-dev
  binutils g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64
  wine64 wine libwine xvfb fvwm x11-utils
  locales fonts-ipafont-gothic fonts-ipafont-mincho fonts-dejavu-core fonts-freefont-ttf fonts-symbola fonts-unifont python3 zip imagemagick ca-certificates
)

as_root() {
  if [ "$(id -u)" = 0 ]; then
    "$@"
  elif command -v sudo >/dev/null; then
    sudo "$@"
  else
    echo "setup: installing needs root: run this as root, or install sudo" >&2
    exit 1
  fi
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine needs the glibc locale to handle Japanese file names and code page 932.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  echo "setup: building the ja_JP.UTF-8 locale"
  as_root localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
