#!/bin/bash
# Installs the Debian packages that building, running and testing Tintmark need, and those named
# as arguments (scripts/bench.sh asks for valgrind).
# Quick when everything is there: apt is only touched for missing packages.
set -euo pipefail

packages=(
  cmake g++ g++-mingw-w64-x86-64 wine wine64 xvfb xdotool fonts-ipafont imagemagick googletest
  clang libclang-rt-14-dev x11-utils
  fonts-wine  # only recommended by wine, but the prefix copies its fonts
  g++-mingw-w64-i686 wine32:i386  # the 32-bit build and the Wine that runs it
  zip  # the release archive
  "$@"
)

missing=()
for pkg in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  [[ $status == "install ok installed" ]] || missing+=("$pkg")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "setup: installing ${missing[*]}" >&2
sudo=()
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "setup: run as root or install sudo" >&2; exit 1; }
  sudo=(sudo)
fi
# wine32 comes from Debian's i386 architecture, which apt knows only once it has been added.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo[@]}" dpkg --add-architecture i386
fi
# Wine's recommended packages (fonts, X extensions) are wanted, so recommends stay on.
"${sudo[@]}" apt-get update
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
