#!/usr/bin/env bash
# Installs what building and testing need on a Debian machine, and nothing that is
# already there. Run as root (or with sudo available).
set -euo pipefail

packages=(
  cmake g++ make python3 libssl-dev libgtest-dev googletest           # native flavour
  g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 xvfb xauth         # windows flavour, Wine
  imagemagick x11-apps fonts-wine fonts-liberation fonts-liberation2   # screenshots, fonts
  rhash coreutils openssl                                              # peers for checks, benchmarks
  clang libclang-rt-14-dev                                             # fuzzing and sanitizers
  clang-format git                                                     # style check of the sources
  wixl msitools osslsigncode                                           # installer, signing
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
