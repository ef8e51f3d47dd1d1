# shellcheck shell=bash
# Shared by run.sh and test.sh (sourced, not run).

TINTMARK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEDEBUG=-all

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
