#!/bin/bash
# tests/imports/windows_imports.sh EXE SYSTEM...: each SYSTEM (95, 98, me, nt40, 2000) can load the
# 32-bit EXE.
# - Its header asks for a subsystem and an operating system version of 4.0 or lower.
# - It imports from system DLLs only, and only functions that every one of these systems exports:
#   the list below, whose names were checked against
#   - kernel32: Wine's kernel32.spec of 1999, "Functions exported by the Win95 kernel32.dll" (the
#     oldest kernel32 of all five), and Microsoft's documentation for NT 4.0 and later;
#   - user32 and gdi32: Wine's user32.spec and gdi32.spec of 1997 to 1999, which list the exports
#     of the Windows 95 and NT 4.0 DLLs of their day;
#   - advapi32: the registry's A functions, in every Win32 system;
#   - comctl32: InitCommonControls, for which Microsoft's common controls reference names no
#     minimum version, that is, every version from the 4.00 of Windows 95 and NT 4.0 on;
#   - msvcrt.dll: mingw-w64's msvcrt.def.in, its list of "symbols available in the original
#     Microsoft Visual C++ 4.2 version of msvcrt.dll", the same set as NT 4.0's (Windows 95 gets
#     msvcrt.dll with Internet Explorer 4 or later, or Microsoft's runtime redistributable).
#   A name outside the list is to be checked by hand against those sources, then added; what only
#   some systems have is given a slot of its own in src/app/win32/older_windows_imports.cpp.
#   W functions are listed too: Windows 95, 98 and ME export them (most as stubs that fail), so
#   they load; that the program does not call them there is the relay check's part
#   (tests/e2e/windows_98_x86.sh).
# - Every function from the system DLLs but msvcrt.dll is declared by the mingw-w64 headers with
#   _WIN32_WINNT and WINVER at 0x0500. This catches what the headers gate (most of Vista's additions
#   and a few of XP's), not the rest: the list decides.
set -uo pipefail

exe=${1:?usage: $0 EXE SYSTEM...}
shift
[[ $# -gt 0 ]] || { echo "usage: $0 EXE SYSTEM... (95 98 me nt40 2000)"; exit 2; }

declare -A known=(
  [kernel32.dll]="CloseHandle CreateEventA CreateFileA CreateFileW CreateSemaphoreA
    DeleteCriticalSection DeleteFileA DeleteFileW DuplicateHandle EnterCriticalSection ExitProcess
    FlushFileBuffers FreeLibrary GetCommandLineW GetCurrentProcess GetCurrentProcessId
    GetCurrentThread GetCurrentThreadId GetFileAttributesA GetFileAttributesW GetFileSize
    GetACP GetFullPathNameA GetFullPathNameW GetHandleInformation GetLastError GetModuleFileNameA
    GetModuleFileNameW GetModuleHandleA GetProcAddress GetProcessAffinityMask GetStartupInfoA
    GetSystemTimeAsFileTime GetThreadContext GetThreadPriority GetTickCount GetVersion
    InitializeCriticalSection LeaveCriticalSection LoadLibraryA MoveFileA MoveFileExA MoveFileExW
    MulDiv MultiByteToWideChar OpenProcess OutputDebugStringA RaiseException ReadFile
    ReleaseSemaphore ResetEvent ResumeThread SetEvent SetLastError SetThreadContext
    SetThreadPriority SetUnhandledExceptionFilter Sleep SuspendThread TlsAlloc TlsGetValue
    TlsSetValue VirtualProtect VirtualQuery WaitForMultipleObjects WaitForSingleObject
    WideCharToMultiByte WriteFile"
  [user32.dll]="AdjustWindowRectEx AppendMenuA AppendMenuW BeginPaint CallWindowProcA
    CallWindowProcW CreateAcceleratorTableA CreateAcceleratorTableW CreateMenu CreatePopupMenu
    CreateWindowExA CreateWindowExW DefDlgProcA DefDlgProcW DefWindowProcA DefWindowProcW
    DestroyAcceleratorTable DestroyIcon DestroyMenu DestroyWindow DispatchMessageA DispatchMessageW
    DrawEdge DrawTextA DrawTextW EnableWindow EndPaint EnumChildWindows EnumThreadWindows
    GetActiveWindow GetClassLongA GetClassLongW GetClientRect GetDC GetDlgCtrlID GetFocus
    GetKeyState GetMenu GetMenuItemRect GetMessageA GetMessageW GetNextDlgTabItem GetParent GetPropA
    GetSysColor
    GetSysColorBrush GetSystemMetrics GetWindow GetWindowLongA GetWindowLongW GetWindowRect
    GetWindowTextA GetWindowTextLengthA GetWindowTextLengthW GetWindowTextW InvalidateRect IsChild
    IsDialogMessageA IsDialogMessageW IsIconic IsWindow IsWindowEnabled IsWindowVisible LoadCursorA
    LoadImageA MapWindowPoints MessageBeep MessageBoxW PostMessageA PostMessageW PostQuitMessage
    RedrawWindow RegisterClassExA RegisterClassExW ReleaseDC RemovePropA SendMessageA SendMessageW
    SetActiveWindow SetFocus SetMenu SetPropA SetWindowLongA SetWindowLongW SetWindowPos
    SetWindowTextA SetWindowTextW ShowWindow SystemParametersInfoA SystemParametersInfoW
    TranslateAcceleratorA TranslateAcceleratorW TranslateMessage UpdateWindow"
  [gdi32.dll]="CreateCompatibleDC CreateFontIndirectA CreateFontIndirectW CreatePen CreateSolidBrush
    DeleteDC DeleteObject EnumFontFamiliesExA EnumFontFamiliesExW ExcludeClipRect GetDeviceCaps
    GetStockObject GetTextMetricsA LineTo MoveToEx SelectObject SetBkColor SetTextColor"
  [comctl32.dll]="InitCommonControls"
  [advapi32.dll]="RegCloseKey RegDeleteValueA RegFlushKey RegOpenKeyExA RegQueryValueExA
    RegSetValueExA"
  [msvcrt.dll]="__getmainargs __initenv __mb_cur_max __p__acmdln __p__commode __p__fmode
    __set_app_type __setusermatherr _amsg_exit _beginthreadex _cexit _close _endthreadex _errno
    _initterm _iob _onexit _read _setjmp3 _strdup _ultoa abort atoi calloc exit fprintf fputc fputs
    free fwrite localeconv longjmp malloc memchr memcmp memcpy memmove memset printf realloc
    setlocale signal strchr strcmp strerror strlen strncmp vfprintf wcslen"
)
# What some of the systems lack, which therefore never joins the list above: the program looks it
# up, or its slot does. Named here so that a failure says which systems would refuse the program.
declare -A lacking=(
  [GetFileSizeEx]="95 98 me nt40" [ReplaceFileW]="95 98 me nt40" [GetAncestor]="95 nt40"
  [IsDebuggerPresent]="95" [SetProcessAffinityMask]="95" [TryEnterCriticalSection]="95 98 me"
  [AddVectoredExceptionHandler]="95 98 me nt40 2000" [GetTickCount64]="95 98 me nt40 2000"
)

failed=0
header=$(i686-w64-mingw32-objdump -p "$exe")
for field in Subsystem OSystem; do
  major=$(awk -v f="Major${field}Version" '$1 == f { print $2 }' <<<"$header")
  minor=$(awk -v f="Minor${field}Version" '$1 == f { print $2 }' <<<"$header")
  if [[ -z $major || -z $minor ]]; then
    echo "FAIL: no $field version read from $exe"
    failed=1
  elif ((major * 100 + minor > 400)); then
    echo "FAIL: $exe asks for $field version $major.$minor; Windows 95 and NT 4.0 are 4.0"
    failed=1
  fi
done

# "dll function" per import, DLL names in lower case.
imports=$(awk '/^\tDLL Name: / { dll = tolower($3); next } /^$/ { dll = "" }
  dll != "" && $1 ~ /^[0-9a-f]+$/ && NF == 3 { print dll, $3 }' <<<"$header")
[[ -n $imports ]] || { echo "FAIL: no imports read from $exe"; exit 1; }
while read -r dll name; do
  if [[ ! -v known[$dll] ]]; then
    echo "FAIL: $dll ($name) is not a system DLL known to this check"
  elif [[ " ${known[$dll]} " != *[[:space:]]"$name"[[:space:]]* ]]; then
    refusing=""
    for system in "$@"; do
      [[ " ${lacking[$name]:-} " == *" $system "* ]] && refusing+=" $system"
    done
    echo "FAIL: $dll $name is not known to be in every system's $dll${refusing:+ (lacking in:$refusing)}"
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
# it declared at 0x0500, the compile below would not tell Windows 2000 from XP at all. (The headers
# gate nothing at 0x0400 that Windows 98 or 2000 added: for the older systems the list decides.)
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
echo "subsystem and OS version 4.0 at most; ${#names[@]} system functions checked for: $*"
[[ $failed -eq 0 ]] && echo "PASS windows_imports $*"
exit "$failed"
