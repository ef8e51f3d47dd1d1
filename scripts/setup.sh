#!/bin/bash
# Installs the Debian packages that Tintmark needs: scripts/setup.sh [--tests] [--x86] [PACKAGE...]
#   (none)    building the x64 Tintmark.exe and running it under Wine (scripts/run.sh)
#   --tests   also the native, fuzz and x86 builds and the release archive (scripts/test.sh)
#   --x86     also running the x86 program under Wine: Debian's i386 architecture, 32-bit Wine
#             (wine32) and, where the kernel runs no 32-bit programs (or TINTMARK_EMULATE_32BIT=1),
#             qemu-user-static, which emulates them (i386_road in lib.sh); left out with
#             TINTMARK_NO_32BIT=1
#   PACKAGE   any other package (scripts/bench.sh asks for valgrind)
# Quick when everything is there: apt is only touched for missing packages.
#
# A package mirror in mid-sync can fail one index for a while. `apt-get update` is tried with apt's
# own retries and once more after a pause; an index that still fails is named, and the install goes
# on. Should 32-bit Wine then not resolve (multi-arch libraries must have one version across the
# architectures, and the missing index may hold the i386 twins of the amd64 ones), it is asked once
# more from the release's own suite, whose indexes are whole. Exit status: 0 when everything asked
# is installed; 3 when all but 32-bit Wine is, the reason (apt's words) then in build/wine32-missing;
# 1 otherwise.
set -euo pipefail
# shellcheck source=scripts/lib.sh
source "$(dirname "$0")/lib.sh"

tests=0 x86=0 extra=()
for arg in "$@"; do
  case $arg in
    --tests) tests=1 ;;
    --x86) x86=1 ;;
    -*) echo "usage: $0 [--tests] [--x86] [PACKAGE...]" >&2; exit 2 ;;
    *) extra+=("$arg") ;;
  esac
done
[[ ${TINTMARK_NO_32BIT:-0} != 1 ]] || x86=0

sudo=()
if [[ $(id -u) -ne 0 ]]; then
  sudo=(sudo)
fi
apt_log=$TINTMARK_ROOT/build/setup-apt.log
update_log=$TINTMARK_ROOT/build/setup-apt-update.log
missing_note=$TINTMARK_ROOT/build/wine32-missing
mkdir -p "$TINTMARK_ROOT/build"

# missing PACKAGE...: prints those of PACKAGE... that are not installed.
missing() {
  local pkg status
  for pkg in "$@"; do
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    [[ $status == "install ok installed" ]] || echo "$pkg"
  done
}

# failed_indexes LOG: the indexes that `apt-get update` wrote to LOG it could not read, one a line,
# as "SUITE/COMPONENT ARCH Packages: apt's reason".
failed_indexes() {
  awk '/^Err:[0-9]+ / { $1 = ""; $2 = ""; sub(/^ +/, ""); index_name = $0; next }
    index_name != "" { sub(/^ +/, ""); sub(/ *\[IP: [^]]*\]$/, ""); print index_name ": " $0; index_name = "" }' \
    "$1" | sort -u
}

updated=0
update() {
  [[ $updated -eq 0 ]] || return 0
  updated=1
  local try
  for try in 1 2; do
    if "${sudo[@]}" apt-get -o Acquire::Retries=3 update >"$update_log" 2>&1 &&
      ! grep -q '^[EW]: Failed to fetch' "$update_log"; then
      return 0
    fi
    [[ $try -eq 2 ]] || sleep "${TINTMARK_APT_PAUSE:-30}"
  done
  local line
  failed_indexes "$update_log" | while IFS= read -r line; do
    echo "setup: a package index could not be read, going on without it: $line" >&2
  done
  return 0
}

# install [-t SUITE] PACKAGE...: installs those of PACKAGE... that are missing (from SUITE first);
# apt's words stay in $apt_log.
install() {
  local wanted suite=()
  [[ $1 != -t ]] || { suite=(-t "$2"); shift 2; }
  mapfile -t wanted < <(missing "$@")
  [[ ${#wanted[@]} -gt 0 ]] || return 0
  echo "setup: installing ${wanted[*]}" >&2
  if [[ ${#sudo[@]} -gt 0 ]] && ! command -v sudo >/dev/null; then
    echo "setup: run as root or install sudo" >&2
    exit 1
  fi
  update
  # Wine's recommended packages (fonts, X extensions) are wanted, so recommends stay on.
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${suite[@]}" "$@" >"$apt_log" 2>&1
}

# apt_reason: apt's own words on why the last install failed, on one line.
apt_reason() {
  grep -E '^E: ' "$apt_log" | tail -n 1 | sed 's/^E: //'
  grep -qE '^E: ' "$apt_log" || echo "apt-get install failed (see $apt_log)"
}

# The question to the kernel (kernel_runs_32bit in lib.sh) needs the assembler and the linker.
install binutils || { tail -n 20 "$apt_log" >&2; exit 1; }

packages=(
  cmake g++-mingw-w64-x86-64 wine wine64 xvfb xdotool fonts-ipafont imagemagick x11-utils
  fonts-wine  # only recommended by wine, but the prefix copies its fonts
)
if [[ $tests -eq 1 ]]; then
  packages+=(
    g++ googletest clang libclang-rt-14-dev
    zip  # the release archive
  )
fi
if [[ $tests -eq 1 || $x86 -eq 1 ]]; then
  packages+=(g++-mingw-w64-i686)  # the 32-bit build, built and checked on every machine
fi
if [[ $x86 -eq 1 ]]; then
  if [[ ${TINTMARK_EMULATE_32BIT:-0} == 1 ]] || ! kernel_runs_32bit; then
    packages+=(qemu-user-static)  # runs 32-bit Wine where the kernel will not
  fi
  packages+=(locales)  # the runs as a Japanese Windows 98 (localedef ja_JP)
fi
packages+=("${extra[@]}")

if [[ $x86 -eq 0 || -z $(missing wine32:i386) ]]; then
  install "${packages[@]}" || { tail -n 20 "$apt_log" >&2; exit 1; }
  [[ $x86 -eq 0 ]] || rm -f "$missing_note"
  exit 0
fi
# wine32 comes from Debian's i386 architecture, which apt knows only once it has been added.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo[@]}" dpkg --add-architecture i386
fi
# In one transaction with the rest: installed alone first, an amd64 library could come from an
# update whose i386 twin the failed index holds, and then none could be had.
if install "${packages[@]}" wine32:i386; then
  rm -f "$missing_note"
  exit 0
fi
reason=$(apt_reason)
release=$(. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-}")
if [[ -n $release ]]; then
  echo "setup: 32-bit Wine did not resolve ($reason); asking again with the suite $release first" >&2
  if install -t "$release" "${packages[@]}" wine32:i386; then
    rm -f "$missing_note"
    exit 0
  fi
fi
install "${packages[@]}" || { tail -n 20 "$apt_log" >&2; exit 1; }
indexes=$(failed_indexes "$update_log" 2>/dev/null | paste -sd ';' | sed 's/;/; /g')
[[ -z $indexes ]] || reason="$reason; the index that failed: $indexes"
echo "$reason" >"$missing_note"
echo "setup: 32-bit Wine (wine32:i386) could not be installed: $reason" >&2
exit 3
