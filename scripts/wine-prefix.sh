#!/bin/bash
# Creates or updates a Wine prefix for running and testing Tintmark:
#   scripts/wine-prefix.sh PREFIX [--demo | --fonts-only] [--no-japanese]
# - a 64-bit prefix made once (wineboot), also running 32-bit programs where the machine can
#   (runs_32bit in lib.sh); where they are emulated, a copy of the machine's cached new prefix
#   (wine_prefix_cache in lib.sh), which is made once per Wine version; Wine's own fonts and the
#   IPA P Gothic font in it;
# - windows cheap on a bare X server (no window manager): X11 Driver "Managed" = "N";
# - Japanese text readable: "ＭＳ Ｐゴシック" replaced by IPAPGothic, and IPAPGothic linked behind the
#   default UI fonts;
# - no crash dialog waiting for a click;
# - with --demo, an ICQ owner 12345678 with colours, unless ICQ owner data is already there;
# - with --fonts-only (a prefix of the user's), the fonts and nothing else;
# - with --no-japanese, a Western system without the East Asian language files: none of the
#   machine's fonts (every Wine call in such a prefix runs after without_japanese_fonts in lib.sh,
#   and the list Wine keeps of them is emptied), none of Wine's Japanese bitmap fonts, no IPA
#   font, no replacement and no link.
# Quick when already done: marker files in the prefix record what has been set up.
set -euo pipefail
# shellcheck source=scripts/lib.sh
source "$(dirname "$0")/lib.sh"
select_wine_loader

usage() { echo "usage: $0 PREFIX [--demo | --fonts-only] [--no-japanese]" >&2; exit 2; }

prefix=""
demo=0
fonts_only=0
japanese=1
for arg in "$@"; do
  case $arg in
    --demo) demo=1 ;;
    --no-japanese) japanese=0 ;;
    --fonts-only) fonts_only=1 ;;
    -*) usage ;;
    *) [[ -z $prefix ]] || usage; prefix=$arg ;;
  esac
done
[[ -n $prefix ]] || usage

# Bump when the settings below change, so that existing prefixes get them.
config_version=4
mkdir -p "$prefix"
prefix=$(cd "$prefix" && pwd)
config_marker="$prefix/.tintmark-config"
[[ $fonts_only -eq 0 ]] || config_marker="$prefix/.tintmark-fonts"
demo_marker="$prefix/.tintmark-demo"

config_done=0
[[ -f $config_marker && $(<"$config_marker") == "$config_version" ]] && config_done=1

# A 64-bit prefix made before Debian's 32-bit Wine (wine32) was installed has an empty syswow64 and
# cannot start 32-bit programs ("could not load kernel32.dll"). Our own prefixes are updated in
# place once wine32 is there (their registry stays); a prefix of the user's is only reported.
# Where 32-bit programs cannot run, syswow64 rightly stays empty and nothing is repaired.
wow64_missing=0
if runs_32bit && grep -qs '^#arch=win64' "$prefix/system.reg" &&
  [[ ! -f $prefix/drive_c/windows/syswow64/kernel32.dll && -x /usr/lib/wine/wine ]]; then
  if [[ $fonts_only -eq 1 ]]; then
    echo "wine-prefix: $prefix was made without 32-bit Wine and cannot run 32-bit programs" >&2
  else
    wow64_missing=1
    config_done=0  # the update puts Wine's own font links back
  fi
fi

if [[ $config_done -eq 1 && $wow64_missing -eq 0 && ($demo -eq 0 || -f $demo_marker) ]]; then
  exit 0
fi

export WINEPREFIX=$prefix
export WINEDEBUG=-all
# The Japanese value names travel through the command line; Wine decodes it with the locale.
export LC_ALL=C.UTF-8
unset DISPLAY

cleanup() { wineserver -k 2>/dev/null || true; }
trap cleanup EXIT

# What Wine says goes to a log, shown when a step fails.
log="$prefix/.tintmark-wine.log"
: >"$log"
failed() {
  echo "wine-prefix: $1 failed" >&2
  wine_log_tail "$log" >&2
  exit 1
}

# new_prefix: makes a new prefix in $WINEPREFIX.
new_prefix() {
  # No Mono and Gecko installers: the program needs neither.
  WINEDLLOVERRIDES="mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}" wine wineboot -i \
    >>"$log" 2>&1 || failed "wineboot -i"
  wineserver -w
}

# cached_prefix_works DIR: whether DIR holds a whole new prefix that starts a 32-bit program.
cached_prefix_works() {
  [[ -f $1/.tintmark-cached && -f $1/system.reg && -f $1/user.reg &&
    -f $1/drive_c/windows/syswow64/kernel32.dll ]] || return 1
  WINEPREFIX=$1 wine 'C:\windows\syswow64\cmd.exe' /c exit >>"$log" 2>&1
  local status=$?
  WINEPREFIX=$1 wineserver -w
  return $status
}

# copy_cached_prefix: $WINEPREFIX as a copy of the cached new prefix, which is made first when it
# is missing or does not start a 32-bit program. Under emulation wineboot takes minutes, a copy
# seconds.
copy_cached_prefix() {
  local cache
  cache=$(wine_prefix_cache)
  if ! cached_prefix_works "$cache"; then
    echo "wine-prefix: making the cached prefix $cache (under emulation: a minute or two)" >&2
    rm -rf "$cache"
    mkdir -p "${cache%/*}"
    local made
    made=$(mktemp -d "$cache.XXXXXX") || failed "mktemp"
    WINEPREFIX=$made new_prefix
    touch "$made/.tintmark-cached"
    WINEPREFIX=$made cached_prefix_works "$made" || failed "a 32-bit program in the new prefix $made"
    # Another run may have made it meanwhile: then either copy serves.
    mv -T "$made" "$cache" 2>/dev/null || rm -rf "$made"
  fi
  echo "wine-prefix: copying the cached prefix $cache" >&2
  cp -a "$cache/." "$WINEPREFIX/" && rm -f "$WINEPREFIX/.tintmark-cached" || failed "copy of $cache"
}

if [[ ! -f $prefix/system.reg ]]; then
  echo "wine-prefix: creating $prefix" >&2
  if [[ $(i386_road) == emulated ]]; then
    copy_cached_prefix
  else
    new_prefix
  fi
elif [[ $wow64_missing -eq 1 ]]; then
  echo "wine-prefix: adding 32-bit support to $prefix" >&2
  # Without its time stamp Wine takes the prefix for out of date and installs everything again.
  rm -f "$prefix/.update-timestamp"
  WINEDLLOVERRIDES="mscoree,mshtml=" wine wineboot -u >>"$log" 2>&1 || failed "wineboot -u"
  wineserver -w
fi

# One server for all the reg calls below, instead of one per call.
wineserver -p

# Tried twice: once in a CI run one reg call failed without a word, and the next run passed.
reg_add() {
  wine reg add "$@" /f >>"$log" 2>&1 || wine reg add "$@" /f >>"$log" 2>&1 || failed "reg add $*"
}

if [[ $config_done -eq 0 ]]; then
  fonts="$prefix/drive_c/windows/Fonts"
  mkdir -p "$fonts"
  cp -f /usr/share/wine/fonts/*.ttf "$fonts/"
  if [[ $japanese -eq 0 ]]; then
    rm -f "$fonts"/*_jp.ttf
    without_japanese_fonts
    wine reg delete 'HKCU\Software\Wine\Fonts\External Fonts' /f >>"$log" 2>&1 || true
  else
    ipagp=$(find /usr/share/fonts -name ipagp.ttf -print -quit)
    [[ -n $ipagp ]] || { echo "wine-prefix: ipagp.ttf not found (package fonts-ipafont)" >&2; exit 1; }
    ln -sf "$ipagp" "$fonts/ipagp.ttf"
  fi

  if [[ $fonts_only -eq 0 ]]; then
    reg_add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N
    reg_add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
  fi
  if [[ $japanese -eq 1 ]]; then
    for face in 'ＭＳ Ｐゴシック' 'MS PGothic'; do
      reg_add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ /d IPAPGothic
    done
    # Bold faces need entries of their own: captions use bold "MS Shell Dlg", i.e. Tahoma Bold.
    for face in Tahoma 'Tahoma Bold' 'MS Shell Dlg' 'MS Shell Dlg 2' 'MS Sans Serif' \
      'MS Sans Serif Bold' 'Microsoft Sans Serif' 'Segoe UI' System; do
      reg_add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
        /v "$face" /t REG_MULTI_SZ /d 'ipagp.ttf,IPAPGothic'
    done
  fi
fi

if [[ $demo -eq 1 && ! -f $demo_marker ]]; then
  owners='HKCU\Software\Mirabilis\ICQ\Owners'
  if ! wine reg query "$owners" /v LastOwner >>"$log" 2>&1; then
    reg_add "$owners" /v LastOwner /t REG_DWORD /d 12345678
    reg_add "$owners\\12345678\\Windows\\SendMsg" /v 'Pen Color' /t REG_DWORD /d 0x00800000
    reg_add "$owners\\12345678\\Windows\\SendMsg" /v 'Back Color' /t REG_DWORD /d 0x00E0FFFF
  fi
fi

# The menu bar's height that Wine worked out while the fonts changed under it is nonsense (every
# menu bar then fills the screen): it is worked out again at the next start.
if [[ $config_done -eq 0 && $japanese -eq 0 ]]; then
  wine reg delete 'HKCU\Control Panel\Desktop\WindowMetrics' /v MenuHeight /f >>"$log" 2>&1 || true
fi

# Stopping the server writes the registry files; only then are the settings safely made.
wineserver -k
wineserver -w 2>/dev/null || true

# A prefix copied from one made with the machine's fonts lists them in its registry, by their
# paths on Z:, and Wine loads every font listed there whatever fontconfig offers.
if [[ $config_done -eq 0 && $japanese -eq 0 ]]; then
  sed -i '/^"[^"]*"="Z:\\\\.*\.\(ttf\|ttc\|otf\|otc\|pfb\|pfa\|fon\)"$/Id' "$prefix/system.reg"
fi
trap - EXIT
echo "$config_version" >"$config_marker"
[[ $demo -eq 0 ]] || touch "$demo_marker"
