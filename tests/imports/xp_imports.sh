#!/bin/bash
# tests/imports/xp_imports.sh EXE: what the 32-bit EXE imports is there on Windows XP.
# - Only system DLLs.
# - Every function from them is declared by the mingw-w64 headers with _WIN32_WINNT and WINVER at
#   0x0501: a C file referring to each of them compiles.
# - The headers do not gate the C runtime by Windows version, so msvcrt.dll's names are held to
#   this list instead: names of the Visual C++ 6 runtime (Windows 2000's msvcrt.dll), which XP's
#   msvcrt.dll keeps. A name outside it is to be checked by hand, then added.
set -uo pipefail

exe=${1:?usage: $0 EXE}
system_dlls=" kernel32.dll user32.dll gdi32.dll advapi32.dll comdlg32.dll comctl32.dll shell32.dll "
msvcrt_names=" __mb_cur_max __p__commode __p__fmode __p__wcmdln __set_app_type __setusermatherr
  __wgetmainargs __winitenv _amsg_exit _beginthreadex _cexit _close _endthreadex _errno _initterm
  _iob _onexit _read _setjmp3 _strdup _ultoa abort atoi calloc exit fprintf fputc fputs free
  fwrite localeconv longjmp malloc memchr memcmp memcpy memmove memset printf realloc setlocale
  signal strchr strcmp strerror strlen strncmp vfprintf wcslen "

# "dll function" per import, DLL names in lower case.
imports=$(i686-w64-mingw32-objdump -p "$exe" | awk '/^\tDLL Name: / { dll = tolower($3); next }
  /^$/ { dll = "" }  dll != "" && $1 ~ /^[0-9a-f]+$/ && NF == 3 { print dll, $3 }')
[[ -n $imports ]] || { echo "FAIL: no imports read from $exe"; exit 1; }
failed=0
while read -r dll name; do
  if [[ $dll == msvcrt.dll ]]; then
    [[ $msvcrt_names == *[[:space:]]"$name"[[:space:]]* ]] && continue
    echo "FAIL: msvcrt.dll $name is not known to be in XP's msvcrt.dll"
  elif [[ $system_dlls == *" $dll "* ]]; then
    continue
  else
    echo "FAIL: $dll ($name) is not a system DLL"
  fi
  failed=1
done <<<"$imports"

# compiles_for_xp NAME...: a reference to each NAME compiles with the headers set for XP.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
compiles_for_xp() {
  printf '#define WINVER 0x0501\n#define _WIN32_WINNT 0x0501\n#include <windows.h>\n' >"$work/x.c"
  printf '#include <%s.h>\n' commctrl commdlg shellapi >>"$work/x.c"
  printf 'const void *const imported[] = {%s};\n' "$(printf '(const void *)&%s,' "$@")" >>"$work/x.c"
  LC_ALL=C i686-w64-mingw32-gcc -std=c11 -Werror -c -o /dev/null "$work/x.c" 2>"$work/log"
}
# The check is worth something only while the headers hide what XP lacks.
compiles_for_xp GetTickCount64 && { echo "FAIL: GetTickCount64 (Vista) is declared for XP"; failed=1; }
mapfile -t names < <(awk '$1 != "msvcrt.dll" { print $2 }' <<<"$imports" | sort -u)
if ! compiles_for_xp "${names[@]}"; then
  echo "FAIL: not declared for XP: $(grep -oE "'\w+' undeclared" "$work/log" | cut -d"'" -f2 |
    sort -u | paste -sd' ')"
  failed=1
fi
awk '{ n[$1]++ } END { for (d in n) print d ": " n[d] " functions" }' <<<"$imports" | sort
echo "${#names[@]} system functions checked"
[[ $failed -eq 0 ]] && echo "PASS xp_imports"
exit "$failed"
