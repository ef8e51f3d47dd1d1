#!/bin/bash
# Installs the Debian packages that building, running and testing Tintmark need, and those named
# as arguments (scripts/bench.sh asks for valgrind).
# Quick when everything is there: apt is only touched for missing packages.
# 32-bit Wine (wine32, from Debian's i386 architecture) is installed only where the machine runs
# 32-bit programs (runs_32bit in lib.sh); elsewhere no i386 architecture is added.
set -euo pipefail
# shellcheck source=scripts/lib.sh
source "$(dirname "$0")/lib.sh"

sudo=()
if [[ $(id -u) -ne 0 ]]; then
  sudo=(sudo)
fi

updated=0
# install_missing PACKAGE...: installs those of PACKAGE... that are not installed yet.
install_missing() {
  local pkg status missing=()
  for pkg in "$@"; do
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    [[ $status == "install ok installed" ]] || missing+=("$pkg")
  done
  [[ ${#missing[@]} -gt 0 ]] || return 0
  echo "setup: installing ${missing[*]}" >&2
  if [[ ${#sudo[@]} -gt 0 ]] && ! command -v sudo >/dev/null; then
    echo "setup: run as root or install sudo" >&2
    exit 1
  fi
  if [[ $updated -eq 0 ]]; then
    "${sudo[@]}" apt-get update
    updated=1
  fi
  # Wine's recommended packages (fonts, X extensions) are wanted, so recommends stay on.
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
}

# The question to the kernel needs the assembler and the linker.
install_missing binutils

packages=(
  cmake g++ g++-mingw-w64-x86-64 wine wine64 xvfb xdotool fonts-ipafont imagemagick googletest
  clang libclang-rt-14-dev x11-utils
  fonts-wine  # only recommended by wine, but the prefix copies its fonts
  g++-mingw-w64-i686  # the 32-bit build, built and checked on every machine
  zip  # the release archive
  "$@"
)
if runs_32bit; then
  packages+=(wine32:i386)  # runs the 32-bit build
  packages+=(locales)      # its runs as a Japanese Windows 98 (localedef ja_JP)
  # wine32 comes from Debian's i386 architecture, which apt knows only once it has been added.
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo[@]}" dpkg --add-architecture i386
    updated=0
  fi
fi
install_missing "${packages[@]}"
