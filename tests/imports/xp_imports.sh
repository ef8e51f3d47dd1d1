#!/bin/bash
# tests/imports/xp_imports.sh EXE: the 32-bit EXE starts on Windows XP as far as its imports go.
# - It imports only from system DLLs.
# - Every function it imports from them is declared by the mingw-w64 headers with _WIN32_WINNT and
#   WINVER at 0x0501 (XP): a C file referring to each of them must compile.
# - The C runtime's names are not gated by Windows version in the headers, so msvcrt.dll imports
#   are held to the list below instead: names of the Visual C++ 6 runtime, the msvcrt.dll of
#   Windows 2000, which XP's msvcrt.dll keeps. A name outside it needs checking by hand first.
set -uo pipefail

exe=${1:?usage: $0 EXE}
cc=i686-w64-mingw32-gcc
system_dlls=" kernel32.dll user32.dll gdi32.dll advapi32.dll comdlg32.dll comctl32.dll shell32.dll "
msvcrt_names=" __mb_cur_max __p__commode __p__fmode __p__wcmdln __set_app_type __setusermatherr
  __wgetmainargs __winitenv _amsg_exit _beginthreadex _cexit _close _endthreadex _errno _initterm
  _iob _onexit _read _setjmp3 _strdup _ultoa abort atoi calloc exit fprintf fputc fputs free
  fwrite localeconv longjmp malloc memchr memcmp memcpy memmove memset printf realloc setlocale
  signal strchr strcmp strerror strlen strncmp vfprintf wcslen "

# "dll name" per imported function, DLL names in lower case.
imports=$(i686-w64-mingw32-objdump -p "$exe" | awk '
  /^\tDLL Name: / { dll = tolower($3); next }
  /^$/ { dll = "" }
  dll != "" && $1 ~ /^[0-9a-f]+$/ && NF == 3 { print dll, $3 }') || exit 1
[[ -n $imports ]] || { echo "FAIL: no imports read from $exe"; exit 1; }

failed=0
while read -r dll count; do
  echo "$dll: $count functions"
  if [[ $dll != msvcrt.dll && $system_dlls != *" $dll "* ]]; then
    echo "FAIL: $dll is not a system DLL"
    failed=1
  fi
done < <(awk '{ n[$1]++ } END { for (d in n) print d, n[d] }' <<<"$imports" | sort)

while read -r name; do
  [[ $msvcrt_names == *[[:space:]]"$name"[[:space:]]* ]] ||
    { echo "FAIL: msvcrt.dll $name is not known to be in XP's msvcrt.dll"; failed=1; }
done < <(awk '$1 == "msvcrt.dll" { print $2 }' <<<"$imports")

# compiles_at_xp FILE NAME...: a C file referring to each NAME compiles for XP.
compiles_at_xp() {
  local file=$1
  shift
  {
    printf '#define WINVER 0x0501\n#define _WIN32_WINNT 0x0501\n'
    printf '#include <windows.h>\n#include <commctrl.h>\n#include <commdlg.h>\n'
    printf '#include <shellapi.h>\n'
    printf 'const void *const imported[] = {\n'
    printf '  (const void *)&%s,\n' "$@"
    printf '};\n'
  } >"$file"
  LC_ALL=C "$cc" -std=c11 -Werror -c -o /dev/null "$file" 2>"$file.log"
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mapfile -t system_names < <(awk '$1 != "msvcrt.dll" { print $2 }' <<<"$imports" | sort -u)
# The check is worth something only while the headers hide what XP lacks.
if compiles_at_xp "$work/control.c" GetTickCount64; then
  echo "FAIL: the headers declare GetTickCount64 (Vista) for XP; the check proves nothing"
  failed=1
fi
if compiles_at_xp "$work/imports.c" "${system_names[@]}"; then
  echo "all ${#system_names[@]} system functions are declared for XP"
else
  echo "FAIL: functions not declared for XP:"
  grep -oE "'[A-Za-z0-9_]+' undeclared" "$work/imports.c.log" | sort -u | sed 's/^/  /'
  failed=1
fi
[[ $failed -eq 0 ]] && echo "PASS xp_imports"
exit "$failed"
