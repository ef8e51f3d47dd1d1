# shellcheck shell=bash
# Shared by the scripts and the end-to-end tests (sourced, not run).

TINTMARK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# Debian's 32-bit Wine loader, there once wine32 is installed.
WINE32_LOADER=${WINE32_LOADER:-/usr/lib/wine/wine}
export WINEDEBUG=-all

# kernel_runs_32bit: whether this machine's kernel runs 32-bit x86 programs. Some x86-64 kernels
# have no IA-32 emulation and answer every i386 program with "Exec format error". The kernel is
# asked once, with a three-instruction i386 program made by binutils alone, and the answer kept in
# build/runs-32bit until the machine starts again.
kernel_runs_32bit() {
  local answer=$TINTMARK_ROOT/build/runs-32bit boot
  boot=$(cat /proc/sys/kernel/random/boot_id 2>/dev/null || echo unknown)
  if [[ ! -f $answer || $(sed -n 2p "$answer") != "$boot" ]]; then
    local dir
    # Made in build/, not in /tmp, which may be mounted noexec.
    mkdir -p "${answer%/*}"
    dir=$(mktemp -d "$answer.XXXXXX") || return 1
    printf '.globl _start\n_start:\n mov $1, %%eax\n xor %%ebx, %%ebx\n int $0x80\n' >"$dir/exit.s"
    if ! as --32 -o "$dir/exit.o" "$dir/exit.s" || ! ld -m elf_i386 -o "$dir/exit" "$dir/exit.o"; then
      rm -rf "$dir"
      echo "kernel_runs_32bit: could not make the i386 test program (binutils)" >&2
      return 1
    fi
    local verdict=no
    "$dir/exit" 2>/dev/null && verdict=yes
    printf '%s\n%s\n' "$verdict" "$boot" >"$answer"
    rm -rf "$dir"
  fi
  [[ $(sed -n 1p "$answer") == yes ]]
}

# i386_road: how Wine runs the 32-bit x86 programs here, one word:
#   native    the kernel runs them;
#   emulated  qemu-user runs them (scripts/emulate-i386.sh), where the kernel refuses them or
#             TINTMARK_EMULATE_32BIT=1 asks for it;
#   none      they are not run: TINTMARK_NO_32BIT=1, 32-bit Wine is not installed (wine32), or the
#             kernel refuses them and cannot emulate them (no qemu-user-static, or no binfmt_misc
#             of a user namespace's own).
# The two switches let every road be tried on any machine.
i386_road() {
  if [[ ${TINTMARK_NO_32BIT:-0} == 1 || ! -x $WINE32_LOADER ]]; then
    echo none
  elif [[ ${TINTMARK_EMULATE_32BIT:-0} != 1 ]] && kernel_runs_32bit; then
    echo native
  elif [[ -x /usr/bin/qemu-i386-static ]] && "$TINTMARK_ROOT/scripts/emulate-i386.sh" true 2>/dev/null
  then
    echo emulated
  else
    echo none
  fi
}

# runs_32bit: whether Wine runs 32-bit x86 programs here, natively or emulated.
runs_32bit() { [[ $(i386_road) != none ]]; }

# i386_road_line: one line saying how the 32-bit programs run here, and why.
i386_road_line() {
  case $(i386_road) in
    native) echo "natively: this machine's kernel runs 32-bit programs" ;;
    emulated)
      if [[ ${TINTMARK_EMULATE_32BIT:-0} == 1 ]]; then
        echo "emulated by qemu-user: TINTMARK_EMULATE_32BIT=1 is set"
      else
        echo "emulated by qemu-user: this machine's kernel runs no 32-bit programs"
      fi
      ;;
    none) echo "not at all: $(no_32bit_reason)" ;;
  esac
}

# no_32bit_reason: one line saying why 32-bit programs are not run here.
no_32bit_reason() {
  if [[ ${TINTMARK_NO_32BIT:-0} == 1 ]]; then
    echo "TINTMARK_NO_32BIT=1 is set"
  elif [[ ! -x $WINE32_LOADER ]]; then
    local why=$TINTMARK_ROOT/build/wine32-missing
    if [[ -s $why ]]; then
      echo "32-bit Wine (wine32:i386) could not be installed: $(<"$why")"
    else
      echo "32-bit Wine (wine32:i386) is not installed (scripts/setup.sh --x86 installs it)"
    fi
  else
    echo "this machine's kernel runs no 32-bit programs (Exec format error) and cannot emulate" \
      "them (qemu-user-static, and Linux 6.7 or later for binfmt_misc in a user namespace)"
  fi
}

# select_wine_loader: unless the kernel runs 32-bit programs, every Wine call (wine, wine-stable
# and the tools started through it: winepath, wineboot, regedit) goes through Wine's 64-bit
# loader, which works there also when wine32 is installed; Debian's wine would take the 32-bit one
# and fail. On the emulated road that loader runs under scripts/emulate-i386.sh, so that the 32-bit
# programs it starts are emulated and the 64-bit ones run as they are; and Wine's mount manager
# stays off there: under qemu-user 7.2 a volume query answered by it (every file dialog asks one)
# leaves the asking thread waiting for ever for the signal that should finish it.
select_wine_loader() {
  local road
  road=$(i386_road)
  [[ $road != native ]] || return 0
  case ":$PATH:" in
    *":$TINTMARK_ROOT/scripts/wine64:"*) ;;
    *) export PATH="$TINTMARK_ROOT/scripts/wine64:$PATH" ;;
  esac
  export WINELOADER=/usr/lib/wine/wine64
  if [[ $road == emulated && ${TINTMARK_I386_EMULATED:-0} != 1 ]]; then
    export TINTMARK_I386_EMULATED=1
    export WINEDLLOVERRIDES="mountmgr.sys=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
  fi
}

# wine_prefix_cache: the folder of this machine's cached new Wine prefix for the installed Wine
# version (scripts/wine-prefix.sh), outside the clone: $TINTMARK_CACHE, else
# $XDG_CACHE_HOME/tintmark, else ~/.cache/tintmark.
wine_prefix_cache() {
  local version
  version=$(/usr/lib/wine/wine64 --version | sed 's/[^A-Za-z0-9.~+]\+/-/g; s/-$//')
  echo "${TINTMARK_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tintmark}/wine-prefix-$version"
}

# wine_log_tail FILE: the last lines Wine wrote to FILE, indented, for a failure report.
wine_log_tail() {
  echo "   last lines from Wine ($1):"
  tail -n 15 "$1" 2>/dev/null | tr -d '\r' | sed 's/^/     /'
}

# The Windows builds (Release, mingw-w64): x64 in build/win, x86 (32-bit) in build/win-x86.
# shellcheck disable=SC2034  # used by test.sh
WIN_ARCHES=(x64 x86)

# win_dir ARCH: the build directory of ARCH.
win_dir() {
  case $1 in
    x64) echo "$TINTMARK_ROOT/build/win" ;;
    x86) echo "$TINTMARK_ROOT/build/win-x86" ;;
    *) echo "unknown Windows architecture: $1" >&2; return 1 ;;
  esac
}

# win_toolchain ARCH: the CMake toolchain file of ARCH.
win_toolchain() {
  case $1 in
    x64) echo "$TINTMARK_ROOT/cmake/mingw-w64-x86_64.cmake" ;;
    x86) echo "$TINTMARK_ROOT/cmake/mingw-w64-i686.cmake" ;;
    *) echo "unknown Windows architecture: $1" >&2; return 1 ;;
  esac
}

# build_win_arch ARCH [ARGS...]: configures and builds ARCH in its directory; ARGS go to
# `cmake --build` (for example --target Tintmark).
build_win_arch() {
  local arch=$1 dir toolchain
  shift
  dir=$(win_dir "$arch") && toolchain=$(win_toolchain "$arch") || return 1
  if [[ ! -f $dir/CMakeCache.txt ]]; then
    cmake -S "$TINTMARK_ROOT" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null || return 1
  fi
  cmake --build "$dir" -j2 "$@"
}

# build_win [ARGS...]: the x64 build in build/win.
build_win() { build_win_arch x64 "$@"; }

# without_japanese_fonts: Wine sees none of the machine's fonts (a fontconfig configuration that
# names no font folder), only its own, none of which has Japanese glyphs: a Western system without
# the East Asian language files. For the prefixes made with wine-prefix.sh --no-japanese.
without_japanese_fonts() {
  local dir=$TINTMARK_ROOT/build/fontconfig-none
  mkdir -p "$dir/cache"
  [[ -f $dir/fonts.conf ]] ||
    printf '<?xml version="1.0"?>\n<fontconfig>\n  <cachedir>%s</cachedir>\n</fontconfig>\n' \
      "$dir/cache" >"$dir/fonts.conf"
  export FONTCONFIG_FILE=$dir/fonts.conf
}

# wine_locale LANGUAGE_TERRITORY: prints a directory holding the locale LANGUAGE_TERRITORY.UTF-8,
# made once in build/locale, for LOCPATH. Wine then runs a program with that locale's ANSI code
# page (ja_JP: 932, en_US: 1252; LANG=ja_JP.UTF-8, LC_ALL unset) without touching the machine's
# locales; without the locale it silently keeps 1252.
wine_locale() {
  local dir=$TINTMARK_ROOT/build/locale
  if [[ ! -f $dir/$1.UTF-8/LC_CTYPE ]]; then
    mkdir -p "$dir"  # localedef makes the last folder only
    localedef -i "$1" -f UTF-8 "$dir/$1.UTF-8" >/dev/null 2>&1
  fi
  [[ -f $dir/$1.UTF-8/LC_CTYPE ]] && echo "$dir"
}
japanese_locale() { wine_locale ja_JP; }

# as_windows VERSION EXE: Wine reports Windows VERSION (win95, win98, winme, nt40, win2k, ...) to
# programs named EXE in $WINEPREFIX; an empty VERSION gives them Wine's own again.
as_windows() {
  local key="HKCU\\Software\\Wine\\AppDefaults\\$2"
  if [[ -n $1 ]]; then
    wine reg add "$key" /v Version /t REG_SZ /d "$1" /f >/dev/null 2>&1
  else
    wine reg delete "$key" /f >/dev/null 2>&1 || true
  fi
}

# Starts Xvfb on the first free display from :99 on and exports DISPLAY and XVFB_PID.
start_xvfb() {
  local n
  for ((n = 99; n < 199; n++)); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    local tries
    for ((tries = 0; tries < 100; tries++)); do
      if xdpyinfo -display ":$n" >/dev/null 2>&1; then
        export DISPLAY=":$n" XVFB_PID
        return 0
      fi
      kill -0 "$XVFB_PID" 2>/dev/null || break  # lost a race for this display
      sleep 0.1
    done
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
  done
  echo "could not start Xvfb" >&2
  return 1
}

stop_xvfb() {
  if [[ -n ${XVFB_PID:-} ]]; then
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=
  fi
  return 0
}
