// The 32-bit program on the oldest Windows it runs on: 95, 98, ME, NT 4.0, 2000 and XP. Linked into
// the executable itself, so that it always takes part in the link.

#include <atomic>

#include "common/win32/system_function.h"
#include "common/win32/windows_version.h"
#include "toolkit/win32/windows_api.h"

#if defined(__MINGW32__) && defined(__i386__)
// Windows refuses to start a program that imports a function its DLLs do not have. These are the
// imports some of those systems lack: GetFileSizeEx and ReplaceFileW (NT 4.0, 95, 98, ME), and of
// the static thread library IsDebuggerPresent, SetProcessAffinityMask and TryEnterCriticalSection
// (95; 98 has the last as a stub that always fails), AddVectoredExceptionHandler and
// RemoveVectoredExceptionHandler (up to 2000), GetTickCount64 (up to XP). Their import slots are
// defined here, so that kernel32's import library leaves them alone: the first call through a slot
// puts the system's function there, or a stand-in where kernel32 has none.
namespace {

using AddHandlerFunction = PVOID(WINAPI*)(ULONG, PVECTORED_EXCEPTION_HANDLER);
using RemoveHandlerFunction = ULONG(WINAPI*)(PVOID);
using TickCount64Function = ULONGLONG(WINAPI*)();
using FileSizeFunction = BOOL(WINAPI*)(HANDLE, PLARGE_INTEGER);
using ReplaceFileFunction = BOOL(WINAPI*)(LPCWSTR, LPCWSTR, LPCWSTR, DWORD, LPVOID, LPVOID);
using DebuggerFunction = BOOL(WINAPI*)();
using AffinityFunction = BOOL(WINAPI*)(HANDLE, DWORD_PTR);
using TryEnterFunction = BOOL(WINAPI*)(LPCRITICAL_SECTION);

// The thread library adds its handler only to let a debugger name threads, and raises the naming
// exception only with a debugger attached or with its handler added.
PVOID WINAPI NoHandlerAdded(ULONG, PVECTORED_EXCEPTION_HANDLER) { return nullptr; }
ULONG WINAPI NoHandlerRemoved(PVOID) { return 0; }

std::atomic<DWORD> lastTickCount{0};
std::atomic<DWORD> tickCountWraps{0};

ULONGLONG WINAPI TickCountWithWraps() {
  const DWORD now = GetTickCount();
  if (now < lastTickCount.exchange(now)) tickCountWraps.fetch_add(1);
  return (static_cast<ULONGLONG>(tickCountWraps.load()) << 32) | now;
}

BOOL WINAPI FileSizeFromGetFileSize(HANDLE file, PLARGE_INTEGER size) {
  DWORD high = 0;
  const DWORD low = GetFileSize(file, &high);
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return FALSE;
  size->QuadPart = static_cast<LONGLONG>((static_cast<ULONGLONG>(high) << 32) | low);
  return TRUE;
}

// The save then moves the new file over the old one.
BOOL WINAPI NoReplaceFile(LPCWSTR, LPCWSTR, LPCWSTR, DWORD, LPVOID, LPVOID) {
  SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
  return FALSE;
}

BOOL WINAPI NoDebugger() { return FALSE; }

BOOL WINAPI NoAffinitySet(HANDLE, DWORD_PTR) {
  SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
  return FALSE;
}

// One thread of the program's takes critical sections, so entering one cannot wait on another.
BOOL WINAPI EnterAlways(LPCRITICAL_SECTION section) {
  EnterCriticalSection(section);
  return TRUE;
}

PVOID WINAPI FirstAddVectoredExceptionHandler(ULONG first, PVECTORED_EXCEPTION_HANDLER handler);
ULONG WINAPI FirstRemoveVectoredExceptionHandler(PVOID handle);
ULONGLONG WINAPI FirstTickCount64();
BOOL WINAPI FirstGetFileSizeEx(HANDLE file, PLARGE_INTEGER size);
BOOL WINAPI FirstReplaceFileW(LPCWSTR, LPCWSTR, LPCWSTR, DWORD, LPVOID, LPVOID);
BOOL WINAPI FirstIsDebuggerPresent();
BOOL WINAPI FirstSetProcessAffinityMask(HANDLE process, DWORD_PTR mask);
BOOL WINAPI FirstTryEnterCriticalSection(LPCRITICAL_SECTION section);

}  // namespace

#define TINTMARK_IMPORT_SLOT(type, slot, symbol, first) \
  extern "C" type slot __asm__(symbol);                 \
  type slot = first

TINTMARK_IMPORT_SLOT(AddHandlerFunction, tintmarkAddVectoredExceptionHandlerImport,
                     "__imp__AddVectoredExceptionHandler@8", FirstAddVectoredExceptionHandler);
TINTMARK_IMPORT_SLOT(RemoveHandlerFunction, tintmarkRemoveVectoredExceptionHandlerImport,
                     "__imp__RemoveVectoredExceptionHandler@4",
                     FirstRemoveVectoredExceptionHandler);
TINTMARK_IMPORT_SLOT(TickCount64Function, tintmarkTickCount64Import, "__imp__GetTickCount64@0",
                     FirstTickCount64);
TINTMARK_IMPORT_SLOT(FileSizeFunction, tintmarkGetFileSizeExImport, "__imp__GetFileSizeEx@8",
                     FirstGetFileSizeEx);
TINTMARK_IMPORT_SLOT(ReplaceFileFunction, tintmarkReplaceFileWImport, "__imp__ReplaceFileW@24",
                     FirstReplaceFileW);
TINTMARK_IMPORT_SLOT(DebuggerFunction, tintmarkIsDebuggerPresentImport,
                     "__imp__IsDebuggerPresent@0", FirstIsDebuggerPresent);
TINTMARK_IMPORT_SLOT(AffinityFunction, tintmarkSetProcessAffinityMaskImport,
                     "__imp__SetProcessAffinityMask@8", FirstSetProcessAffinityMask);
TINTMARK_IMPORT_SLOT(TryEnterFunction, tintmarkTryEnterCriticalSectionImport,
                     "__imp__TryEnterCriticalSection@4", FirstTryEnterCriticalSection);

namespace {

// Puts kernel32's `name`, or `standIn` where kernel32 lacks it (or, with `not9x`, where the system
// is Windows 95, 98 or ME, whose kernel32 may export a name as a stub that only fails), into
// `slot`, and returns it.
template <class Function>
Function Install(Function& slot, const char* name, Function standIn, bool not9x = false) {
  const Function found =
      not9x && common::win32::IsWindows9x()
          ? nullptr
          : common::win32::SystemFunction<Function>(GetModuleHandleA("kernel32.dll"), name);
  const Function function = found ? found : standIn;
  __atomic_store_n(&slot, function, __ATOMIC_RELEASE);
  return function;
}

PVOID WINAPI FirstAddVectoredExceptionHandler(ULONG first, PVECTORED_EXCEPTION_HANDLER handler) {
  return Install(tintmarkAddVectoredExceptionHandlerImport, "AddVectoredExceptionHandler",
                 NoHandlerAdded)(first, handler);
}

ULONG WINAPI FirstRemoveVectoredExceptionHandler(PVOID handle) {
  return Install(tintmarkRemoveVectoredExceptionHandlerImport, "RemoveVectoredExceptionHandler",
                 NoHandlerRemoved)(handle);
}

ULONGLONG WINAPI FirstTickCount64() {
  return Install(tintmarkTickCount64Import, "GetTickCount64", TickCountWithWraps)();
}

BOOL WINAPI FirstGetFileSizeEx(HANDLE file, PLARGE_INTEGER size) {
  const auto function =
      Install(tintmarkGetFileSizeExImport, "GetFileSizeEx", FileSizeFromGetFileSize, true);
  return function(file, size);
}

BOOL WINAPI FirstReplaceFileW(LPCWSTR target, LPCWSTR replacement, LPCWSTR backup, DWORD flags,
                              LPVOID exclude, LPVOID reserved) {
  return Install(tintmarkReplaceFileWImport, "ReplaceFileW", NoReplaceFile)(
      target, replacement, backup, flags, exclude, reserved);
}

BOOL WINAPI FirstIsDebuggerPresent() {
  return Install(tintmarkIsDebuggerPresentImport, "IsDebuggerPresent", NoDebugger)();
}

BOOL WINAPI FirstSetProcessAffinityMask(HANDLE process, DWORD_PTR mask) {
  return Install(tintmarkSetProcessAffinityMaskImport, "SetProcessAffinityMask", NoAffinitySet)(
      process, mask);
}

BOOL WINAPI FirstTryEnterCriticalSection(LPCRITICAL_SECTION section) {
  return Install(tintmarkTryEnterCriticalSectionImport, "TryEnterCriticalSection", EnterAlways,
                 true)(section);
}

}  // namespace
#endif
