// Windows XP support for the 32-bit program, linked into the executable itself so that it always
// takes part in the link.

#include <atomic>

#include "toolkit/win32/windows_api.h"

#if defined(__MINGW32__) && defined(__i386__)
// The static thread library of the 32-bit build calls GetTickCount64, which Windows XP lacks. Its
// import slot is defined here, so that kernel32's import library leaves it alone: the first call
// puts the system's function there, or on XP GetTickCount with its wraps counted.
namespace {

using TickCount64Function = ULONGLONG(WINAPI*)();

std::atomic<DWORD> lastTickCount{0};
std::atomic<DWORD> tickCountWraps{0};

ULONGLONG WINAPI TickCountWithWraps() {
  const DWORD now = GetTickCount();
  if (now < lastTickCount.exchange(now)) tickCountWraps.fetch_add(1);
  return (static_cast<ULONGLONG>(tickCountWraps.load()) << 32) | now;
}

ULONGLONG WINAPI FirstTickCount64();

}  // namespace

extern "C" TickCount64Function tintmarkTickCount64Import __asm__("__imp__GetTickCount64@0");
TickCount64Function tintmarkTickCount64Import = FirstTickCount64;

namespace {

ULONGLONG WINAPI FirstTickCount64() {
  const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
  const FARPROC address = kernel32 ? GetProcAddress(kernel32, "GetTickCount64") : nullptr;
  TickCount64Function function =
      address ? reinterpret_cast<TickCount64Function>(reinterpret_cast<void (*)()>(address))
              : TickCountWithWraps;
  __atomic_store_n(&tintmarkTickCount64Import, function, __ATOMIC_RELEASE);
  return function();
}

}  // namespace
#endif
