#!/bin/bash
# Installs the Debian packages that building, running and testing Tintmark need, and those named
# as arguments (scripts/bench.sh asks for valgrind).
# Quick when everything is there: apt is only touched for missing packages.
# 32-bit Wine (wine32, from Debian's i386 architecture) is installed unless TINTMARK_NO_32BIT=1;
# where the kernel runs no 32-bit programs (or TINTMARK_EMULATE_32BIT=1), qemu-user-static too,
# which emulates them (i386_road in lib.sh).
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
if [[ ${TINTMARK_NO_32BIT:-0} != 1 ]]; then
  packages+=(wine32:i386)  # runs the 32-bit build
  if [[ ${TINTMARK_EMULATE_32BIT:-0} == 1 ]] || ! kernel_runs_32bit; then
    packages+=(qemu-user-static)  # runs 32-bit Wine where the kernel will not
  fi
  packages+=(locales)      # its runs as a Japanese Windows 98 (localedef ja_JP)
  # wine32 comes from Debian's i386 architecture, which apt knows only once it has been added.
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo[@]}" dpkg --add-architecture i386
    updated=0
  fi
fi
install_missing "${packages[@]}"
