# shellcheck shell=bash
# Shared by the scripts and the end-to-end tests (sourced, not run).

TINTMARK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEDEBUG=-all

# runs_32bit: whether this machine runs 32-bit x86 programs. Some x86-64 kernels have no IA-32
# emulation and answer every i386 program with "Exec format error". The kernel is asked once, with
# a three-instruction i386 program made by binutils alone, and the answer kept in build/runs-32bit
# until the machine starts again. TINTMARK_NO_32BIT=1 answers no on any machine, so that the other
# road can be tried anywhere.
runs_32bit() {
  [[ ${TINTMARK_NO_32BIT:-0} != 1 ]] || return 1
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
      echo "runs_32bit: could not make the i386 test program (binutils)" >&2
      return 1
    fi
    local verdict=no
    "$dir/exit" 2>/dev/null && verdict=yes
    printf '%s\n%s\n' "$verdict" "$boot" >"$answer"
    rm -rf "$dir"
  fi
  [[ $(sed -n 1p "$answer") == yes ]]
}

# no_32bit_reason: one line saying why 32-bit programs are not run here.
no_32bit_reason() {
  if [[ ${TINTMARK_NO_32BIT:-0} == 1 ]]; then
    echo "TINTMARK_NO_32BIT=1 is set"
  else
    echo "this machine's kernel runs no 32-bit programs (Exec format error)"
  fi
}

# select_wine_loader: where 32-bit programs cannot run, every Wine call (wine, wine-stable and the
# tools started through it: winepath, wineboot, regedit) goes through Wine's 64-bit loader, which
# works there also when wine32 is installed; Debian's wine would take the 32-bit one and fail.
select_wine_loader() {
  runs_32bit && return 0
  case ":$PATH:" in
    *":$TINTMARK_ROOT/scripts/wine64:"*) ;;
    *) export PATH="$TINTMARK_ROOT/scripts/wine64:$PATH" ;;
  esac
  export WINELOADER=/usr/lib/wine/wine64
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

# japanese_locale: prints a directory holding a ja_JP.UTF-8 locale, made once in build/locale, for
# LOCPATH. Wine then runs a program with the ANSI code page 932 (LANG=ja_JP.UTF-8, LC_ALL unset)
# without touching the machine's locales; without the locale it silently keeps 1252.
japanese_locale() {
  local dir=$TINTMARK_ROOT/build/locale
  [[ -f $dir/ja_JP.UTF-8/LC_CTYPE ]] ||
    { mkdir -p "$dir" && localedef -i ja_JP -f UTF-8 "$dir/ja_JP.UTF-8" >/dev/null 2>&1; }
  [[ -f $dir/ja_JP.UTF-8/LC_CTYPE ]] && echo "$dir"
}

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
