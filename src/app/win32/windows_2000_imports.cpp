// Windows 2000 and XP support for the 32-bit program, linked into the executable itself so that
// it always takes part in the link.

#include <atomic>

#include "common/win32/system_function.h"
#include "toolkit/win32/windows_api.h"

#if defined(__MINGW32__) && defined(__i386__)
// The static thread library of the 32-bit build imports AddVectoredExceptionHandler and
// RemoveVectoredExceptionHandler, which Windows 2000 lacks, and GetTickCount64, which XP lacks
// too; Windows refuses to start a program that imports a function its DLLs do not have. The
// import slots of the three are defined here, so that kernel32's import library leaves them
// alone: the first call through a slot puts the system's function there, or a stand-in where
// kernel32 has none.
namespace {

using AddHandlerFunction = PVOID(WINAPI*)(ULONG, PVECTORED_EXCEPTION_HANDLER);
using RemoveHandlerFunction = ULONG(WINAPI*)(PVOID);
using TickCount64Function = ULONGLONG(WINAPI*)();

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

PVOID WINAPI FirstAddVectoredExceptionHandler(ULONG first, PVECTORED_EXCEPTION_HANDLER handler);
ULONG WINAPI FirstRemoveVectoredExceptionHandler(PVOID handle);
ULONGLONG WINAPI FirstTickCount64();

}  // namespace

extern "C" AddHandlerFunction tintmarkAddVectoredExceptionHandlerImport __asm__(
    "__imp__AddVectoredExceptionHandler@8");
AddHandlerFunction tintmarkAddVectoredExceptionHandlerImport = FirstAddVectoredExceptionHandler;
extern "C" RemoveHandlerFunction tintmarkRemoveVectoredExceptionHandlerImport __asm__(
    "__imp__RemoveVectoredExceptionHandler@4");
RemoveHandlerFunction tintmarkRemoveVectoredExceptionHandlerImport =
    FirstRemoveVectoredExceptionHandler;
extern "C" TickCount64Function tintmarkTickCount64Import __asm__("__imp__GetTickCount64@0");
TickCount64Function tintmarkTickCount64Import = FirstTickCount64;

namespace {

// Puts kernel32's `name`, or `standIn` where kernel32 lacks it, into `slot`, and returns it.
template <class Function>
Function Install(Function& slot, const char* name, Function standIn) {
  const Function found =
      common::win32::SystemFunction<Function>(GetModuleHandleW(L"kernel32.dll"), name);
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

}  // namespace
#endif
