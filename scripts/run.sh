#!/bin/bash
# Builds Tintmark.exe and runs it under Wine: scripts/run.sh [x64 | x86] [--english] (x64 by
# default; x86 only where the machine runs 32-bit programs).
# With a working $DISPLAY the program runs in the foreground. Without one it runs on a virtual
# display, and a screenshot of its window is saved to build/screenshot.png (the README's picture,
# docs/main-window.png, is one of these).
# Wine prefix: $WINEPREFIX if set, else build/wine (with a demo ICQ owner).
# --english: as on a Western system without Japanese fonts, where the program speaks English, in
# the prefix build/wine-english (with a demo ICQ owner); the screenshot is
# build/screenshot-english.png (docs/main-window-english.png).
set -euo pipefail
# shellcheck source=scripts/lib.sh
source "$(dirname "$0")/lib.sh"
cd "$TINTMARK_ROOT"

arch=x64
english=0
for arg in "$@"; do
  case $arg in
    --english) english=1 ;;
    *) arch=$arg ;;
  esac
done
win_dir "$arch" >/dev/null || exit 2
if [[ $arch == x86 ]]; then
  scripts/setup.sh --x86 || [[ $? -eq 3 ]]  # 3: no 32-bit Wine, and the line below says why
else
  scripts/setup.sh
fi
select_wine_loader
if [[ $arch == x86 ]] && ! runs_32bit; then
  echo "run: the x86 Tintmark.exe cannot run under Wine here: $(no_32bit_reason); scripts/run.sh runs the x64 one" >&2
  exit 1
fi
build_win_arch "$arch" --target Tintmark
exe="$(win_dir "$arch")/Tintmark.exe"

log="$TINTMARK_ROOT/build/run-wine.log"
own_prefix=0
if [[ $english -eq 1 ]]; then
  own_prefix=1
  export WINEPREFIX="$TINTMARK_ROOT/build/wine-english"
  without_japanese_fonts
  scripts/wine-prefix.sh "$WINEPREFIX" --demo --no-japanese
elif [[ -n ${WINEPREFIX:-} ]]; then
  # The user's own prefix only gets the Japanese fonts, nothing that changes how Wine behaves.
  scripts/wine-prefix.sh "$WINEPREFIX" --fonts-only
else
  own_prefix=1
  export WINEPREFIX="$TINTMARK_ROOT/build/wine"
  scripts/wine-prefix.sh "$WINEPREFIX" --demo
fi

# Wine manages its windows through the window manager of a real display; on the bare virtual
# display it draws them itself ("Managed" = "N", set by wine-prefix.sh).
set_managed() {
  if [[ $1 == Y ]]; then
    wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
  elif ! wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >"$log" 2>&1; then
    echo "run: wine reg add failed" >&2
    wine_log_tail "$log" >&2
    exit 1
  fi
}

if [[ -n ${DISPLAY:-} ]] && xdpyinfo >/dev/null 2>&1; then
  [[ $own_prefix -eq 0 ]] || set_managed Y
  exec wine "$exe"
fi

app_pid=
cleanup() {
  [[ -z $app_pid ]] || kill "$app_pid" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  stop_xvfb
}
trap cleanup EXIT

start_xvfb
[[ $own_prefix -eq 0 ]] || set_managed N
echo "run: no display, using virtual display $DISPLAY" >&2
wine "$exe" >"$log" 2>&1 &
app_pid=$!

if ! window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Tintmark$' | head -n 1) ||
  [[ -z $window ]]; then
  echo "run: the Tintmark window did not appear" >&2
  wine_log_tail "$log" >&2
  exit 1
fi
sleep 2
screenshot="$TINTMARK_ROOT/build/screenshot.png"
[[ $english -eq 0 ]] || screenshot="$TINTMARK_ROOT/build/screenshot-english.png"
import -window "$window" -strip "$screenshot"
echo "$screenshot"

# Close the program as a user would: answer a message box that may be up (the ID request when
# there is no ICQ owner), then Alt+F4 on the main window. Nothing has been changed, so closing
# asks nothing. (`wine taskkill` cannot: the 32-bit taskkill does not see a 64-bit program.)
close_message_box() {
  local box
  box=$(xdotool search --onlyvisible --name ' - Tintmark$' 2>/dev/null | head -n 1) || true
  [[ -n $box ]] || return 0
  xdotool mousemove --window "$box" 20 10 key Return
}
close_tintmark() {
  close_message_box
  xdotool mousemove --window "$window" 40 40 key alt+F4 2>/dev/null || true
  for ((i = 0; i < 50; i++)); do
    kill -0 "$app_pid" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
}
if ! close_tintmark && ! close_tintmark; then
  echo "run: Tintmark did not close; stopping it" >&2
  kill "$app_pid" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
fi
wait "$app_pid" 2>/dev/null || true
app_pid=
