// The tests' Windows 2000 switch: with TINTMARK_WINDOWS_2000 set, the 32-bit test executable finds
// by name only functions that Windows 2000 has, and SystemParametersInfoW wants Windows 2000's
// size of the non-client metrics, so that the suite runs through the fallbacks the program keeps
// for older systems (the DPI functions, the message font, the thread library's imports, the
// runtime's own lookups). It holds the import slots of GetProcAddress, through which every such
// lookup goes, and of SystemParametersInfoW; Tintmark.exe has nothing of this.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "toolkit/win32/windows_api.h"

#if defined(__MINGW32__) && defined(__i386__)
#include <winternl.h>

extern "C" NTSTATUS NTAPI LdrGetProcedureAddress(HMODULE module, ANSI_STRING* name, ULONG ordinal,
                                                 PVOID* address);

namespace {

// The names looked up by this program and its runtime that Windows 2000 has. A lookup of any
// other name fails under the switch; the functions the program may look up are checked against
// Windows 2000 before they join this list.
constexpr const char* kWindows2000Names[] = {
    "CommDlgExtendedError", "GetOpenFileNameW", "GetSaveFileNameW",  // comdlg32
    "DragFinish",           "DragQueryFileW",                        // shell32
    "__lc_codepage",                                                 // msvcrt (Visual C++ 6)
};

// NONCLIENTMETRICSW as Windows 2000 and XP know it, without Vista's iPaddedBorderWidth.
constexpr UINT kWindows2000NonClientMetricsSize = 500;

// Names refused so far, without repeats. Plain arrays: lookups begin before any constructor runs.
char refused[16][64];
int refusedCount = 0;

bool SwitchOn() {
  char value[2];
  return GetEnvironmentVariableA("TINTMARK_WINDOWS_2000", value, sizeof value) > 0;
}

bool Windows2000Has(const char* name) {
  for (const char* known : kWindows2000Names) {
    if (std::strcmp(known, name) == 0) return true;
  }
  return false;
}

void NoteRefused(const char* name) {
  for (int i = 0; i < refusedCount; ++i) {
    if (std::strncmp(refused[i], name, sizeof refused[i] - 1) == 0) return;
  }
  if (refusedCount == static_cast<int>(std::size(refused))) return;
  std::strncpy(refused[refusedCount], name, sizeof refused[refusedCount] - 1);
  ++refusedCount;
}

// What GetProcAddress does.
FARPROC SystemLookUp(HMODULE module, LPCSTR name) {
  const bool byName = reinterpret_cast<ULONG_PTR>(name) > 0xFFFF;
  ANSI_STRING text{};
  if (byName) {
    text.Length = static_cast<USHORT>(std::strlen(name));
    text.MaximumLength = static_cast<USHORT>(text.Length + 1);
    text.Buffer = const_cast<char*>(name);
  }
  const ULONG ordinal = byName ? 0 : static_cast<ULONG>(reinterpret_cast<ULONG_PTR>(name));
  PVOID address = nullptr;
  const NTSTATUS status = LdrGetProcedureAddress(module ? module : GetModuleHandleW(nullptr),
                                                 byName ? &text : nullptr, ordinal, &address);
  if (status < 0) {
    SetLastError(RtlNtStatusToDosError(status));
    return nullptr;
  }
  return reinterpret_cast<FARPROC>(address);
}

FARPROC WINAPI LookUp(HMODULE module, LPCSTR name) {
  if (reinterpret_cast<ULONG_PTR>(name) > 0xFFFF && SwitchOn() && !Windows2000Has(name)) {
    NoteRefused(name);
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  return SystemLookUp(module, name);
}

BOOL WINAPI SystemParameters(UINT action, UINT size, void* data, UINT update) {
  if (action == SPI_GETNONCLIENTMETRICS && SwitchOn() &&
      (size != kWindows2000NonClientMetricsSize || !data ||
       static_cast<NONCLIENTMETRICSW*>(data)->cbSize != kWindows2000NonClientMetricsSize)) {
    NoteRefused("SystemParametersInfoW with Vista's NONCLIENTMETRICSW");
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  using Function = BOOL(WINAPI*)(UINT, UINT, void*, UINT);
  static const auto system = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(
      SystemLookUp(GetModuleHandleW(L"user32.dll"), "SystemParametersInfoW")));
  return system(action, size, data, update);
}

}  // namespace

extern "C" decltype(&LookUp) tintmarkTestGetProcAddressImport __asm__("__imp__GetProcAddress@8");
decltype(&LookUp) tintmarkTestGetProcAddressImport = LookUp;
extern "C" decltype(&SystemParameters) tintmarkTestSystemParametersInfoImport __asm__(
    "__imp__SystemParametersInfoW@16");
decltype(&SystemParameters) tintmarkTestSystemParametersInfoImport = SystemParameters;

namespace {

// What the switch refused, in the log of the run.
class Windows2000Run : public ::testing::Environment {
 public:
  void TearDown() override {
    if (!SwitchOn()) return;
    std::string names;
    for (int i = 0; i < refusedCount; ++i) names += std::string(" ") + refused[i] + ";";
    std::printf("Windows 2000 switch: refused%s\n", names.empty() ? " nothing" : names.c_str());
  }
};

[[maybe_unused]] ::testing::Environment* const windows2000Run =
    ::testing::AddGlobalTestEnvironment(new Windows2000Run);

}  // namespace
#endif
