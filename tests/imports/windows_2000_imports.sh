#!/bin/bash
# tests/imports/windows_2000_imports.sh EXE: Windows 2000 SP4 can load the 32-bit EXE.
# - Its header asks for a Windows subsystem version of 5.0 or lower.
# - It imports from system DLLs only, and only the functions listed below for each: names checked
#   by hand against what Windows 2000's DLLs export. msvcrt.dll's are names of the Visual C++ 6
#   runtime, which is Windows 2000's msvcrt.dll. A name outside the lists is to be checked by
#   hand, then added.
# - Every function from the system DLLs but msvcrt.dll is declared by the mingw-w64 headers with
#   _WIN32_WINNT and WINVER at 0x0500: a C file referring to each of them compiles. This catches
#   what the headers gate (most of Vista's additions and a few of XP's), not the rest: they declare
#   AddVectoredExceptionHandler, AttachConsole or GetNativeSystemInfo (XP) at any version, which
#   is why the lists decide.
set -uo pipefail

exe=${1:?usage: $0 EXE}
declare -A known=(
  [kernel32.dll]="CloseHandle CreateEventA CreateFileW CreateSemaphoreA DeleteCriticalSection
    DeleteFileW DuplicateHandle EnterCriticalSection FlushFileBuffers FreeLibrary GetCommandLineW
    GetCurrentProcess GetCurrentProcessId GetCurrentThread GetCurrentThreadId
    GetFileAttributesW GetFileSizeEx
    GetFullPathNameW GetHandleInformation GetLastError GetModuleFileNameW GetModuleHandleA
    GetModuleHandleW GetProcAddress GetProcessAffinityMask GetStartupInfoW GetSystemTimeAsFileTime
    GetThreadContext GetThreadPriority GetTickCount InitializeCriticalSection IsDebuggerPresent
    LeaveCriticalSection LoadLibraryA LoadLibraryW MoveFileExW MulDiv OpenProcess
    OutputDebugStringA RaiseException ReadFile ReleaseSemaphore ReplaceFileW ResetEvent
    ResumeThread SetEvent SetLastError SetProcessAffinityMask SetThreadContext SetThreadPriority
    SetUnhandledExceptionFilter Sleep SuspendThread TlsAlloc TlsGetValue TlsSetValue
    TryEnterCriticalSection VirtualProtect VirtualQuery WaitForMultipleObjects WaitForSingleObject
    WriteFile"
  [user32.dll]="AdjustWindowRectEx AppendMenuW BeginPaint CallWindowProcW CreateAcceleratorTableW
    CreateMenu CreatePopupMenu CreateWindowExW DefDlgProcW DefWindowProcW DestroyAcceleratorTable
    DestroyIcon DestroyMenu DestroyWindow DispatchMessageW DrawEdge DrawTextW EnableWindow EndPaint
    EnumThreadWindows GetActiveWindow GetAncestor GetClassLongW GetClientRect GetDC GetDlgCtrlID GetFocus GetKeyState GetMessageW
    GetNextDlgTabItem GetPropW GetSysColor GetSystemMetrics GetWindow GetWindowLongW GetWindowRect
    GetWindowTextLengthW GetWindowTextW InvalidateRect IsChild IsDialogMessageW IsWindow
    IsWindowEnabled IsWindowVisible LoadCursorW LoadImageW MapWindowPoints MessageBeep MessageBoxW
    PostQuitMessage RegisterClassExW ReleaseDC RemovePropW SendMessageW SetActiveWindow SetFocus SetPropW SetWindowLongW
    SetWindowPos SetWindowTextW ShowWindow SystemParametersInfoW TranslateAcceleratorW
    TranslateMessage UpdateWindow"
  [gdi32.dll]="CreateFontIndirectW CreateFontW CreatePen CreateSolidBrush DeleteObject
    EnumFontFamiliesExW ExcludeClipRect GetDeviceCaps GetStockObject LineTo MoveToEx SelectObject
    SetBkColor SetTextColor"
  [advapi32.dll]="RegCloseKey RegDeleteValueA RegFlushKey RegOpenKeyExA RegQueryValueExA
    RegSetValueExA"
  [msvcrt.dll]="__mb_cur_max __p__commode __p__fmode __p__wcmdln __set_app_type __setusermatherr
    __wgetmainargs __winitenv _amsg_exit _beginthreadex _cexit _close _endthreadex _errno _initterm
    _iob _onexit _read _setjmp3 _strdup _ultoa abort atoi calloc exit fprintf fputc fputs free
    fwrite localeconv longjmp malloc memchr memcmp memcpy memmove memset printf realloc setlocale
    signal strchr strcmp strerror strlen strncmp vfprintf wcslen"
)
failed=0

header=$(i686-w64-mingw32-objdump -p "$exe")
major=$(awk '$1 == "MajorSubsystemVersion" { print $2 }' <<<"$header")
minor=$(awk '$1 == "MinorSubsystemVersion" { print $2 }' <<<"$header")
if [[ -z $major || -z $minor ]]; then
  echo "FAIL: no subsystem version read from $exe"
  failed=1
elif ((major * 100 + minor > 500)); then
  echo "FAIL: $exe asks for subsystem version $major.$minor; Windows 2000 is 5.0"
  failed=1
fi

# "dll function" per import, DLL names in lower case.
imports=$(awk '/^\tDLL Name: / { dll = tolower($3); next } /^$/ { dll = "" }
  dll != "" && $1 ~ /^[0-9a-f]+$/ && NF == 3 { print dll, $3 }' <<<"$header")
[[ -n $imports ]] || { echo "FAIL: no imports read from $exe"; exit 1; }
while read -r dll name; do
  if [[ ! -v known[$dll] ]]; then
    echo "FAIL: $dll ($name) is not a system DLL known to this check"
  elif [[ " ${known[$dll]} " != *[[:space:]]"$name"[[:space:]]* ]]; then
    echo "FAIL: $dll $name is not known to be in Windows 2000's $dll"
  else
    continue
  fi
  failed=1
done <<<"$imports"

# compiles_at VERSION NAME...: a reference to each NAME compiles with the headers set to VERSION.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
compiles_at() {
  local version=$1
  shift
  printf '#define WINVER %s\n#define _WIN32_WINNT %s\n#include <windows.h>\n' "$version" \
    "$version" >"$work/x.c"
  printf '#include <%s.h>\n' commctrl commdlg shellapi >>"$work/x.c"
  printf 'const void *const imported[] = {%s};\n' "$(printf '(const void *)&%s,' "$@")" >>"$work/x.c"
  LC_ALL=C i686-w64-mingw32-gcc -std=c11 -Werror -c -o /dev/null "$work/x.c" 2>"$work/log"
}
# The control: a function XP added, which the headers hide at 0x0500 and declare at 0x0501. Were
# it declared at 0x0500, the compile below would not tell Windows 2000 from XP at all.
control=WTSGetActiveConsoleSessionId
if compiles_at 0x0500 "$control"; then
  echo "FAIL: $control (XP) is declared at 0x0500: the headers no longer hide XP's additions"
  failed=1
elif ! compiles_at 0x0501 "$control"; then
  echo "FAIL: $control does not compile at 0x0501 either: the control proves nothing"
  failed=1
fi
mapfile -t names < <(awk '$1 != "msvcrt.dll" { print $2 }' <<<"$imports" | sort -u)
if ! compiles_at 0x0500 "${names[@]}"; then
  echo "FAIL: not declared at 0x0500: $(grep -oE "'\w+' undeclared" "$work/log" | cut -d"'" -f2 |
    sort -u | paste -sd' ')"
  failed=1
fi
awk '{ n[$1]++ } END { for (d in n) print d ": " n[d] " functions" }' <<<"$imports" | sort
echo "subsystem version $major.$minor; ${#names[@]} system functions checked"
[[ $failed -eq 0 ]] && echo "PASS windows_2000_imports"
exit "$failed"
