# shellcheck shell=bash
# Shared by run.sh and test.sh (sourced, not run).

TINTMARK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEDEBUG=-all

# Configures and builds the Windows executables in build/win (Release, mingw-w64).
# Arguments: extra arguments for `cmake --build` (for example --target Tintmark).
build_win() {
  local dir="$TINTMARK_ROOT/build/win"
  if [[ ! -f $dir/CMakeCache.txt ]]; then
    cmake -S "$TINTMARK_ROOT" -B "$dir" \
      -DCMAKE_TOOLCHAIN_FILE="$TINTMARK_ROOT/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null || return 1
  fi
  cmake --build "$dir" -j2 "$@"
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
