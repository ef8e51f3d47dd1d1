// The tests' switch to an older Windows: with TINTMARK_WINDOWS set to 10, 8.1, 2000, 98 or nt40,
// the test executable finds by name only functions that system has, and SystemParametersInfo wants
// that system's size of the non-client metrics, so that the suite runs through the fallbacks the
// program keeps for older systems (the DPI functions, the message font, the imports of the oldest
// kernel32, the runtime's own lookups). With TINTMARK_MONITOR_DPI the window's monitor has that
// DPI, which Wine cannot give: as Windows 10 GetDpiForWindow answers it, as 8.1 GetDpiForMonitor.
// The 64-bit executable stands for the x64 editions: 2000 there is XP's and Server 2003's, whose
// lookups the program makes are 2000's. Under Wine, as Windows 98 (its AppDefaults version) the
// 32-bit program takes the A road, and the switch then also keeps it from the W functions it
// looks up. It holds the import slots of GetProcAddress, through which every such lookup goes,
// of SystemParametersInfoW and SystemParametersInfoA, and of MoveFileExA. It also holds the slots
// of the menu calls, of GetDC, of the message font and of CreateStdAccessibleObject, which Windows
// refuses when a test asks, of WriteFile, ReadFile, CreateFile and CloseHandle, which meet a full
// disk or another program when a test asks, of the registry and font calls with a reserved
// argument, which they hold to the documentation, and of the calls that make and free GDI objects
// and icons, which it counts (native_windows.h).
// Tintmark.exe has nothing of this.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <type_traits>

#include "common/win32/ansi_text.h"
#include "common/win32/wide.h"
#include "support/win32/native_windows.h"
#include "toolkit/win32/windows_api.h"

#if defined(__MINGW32__)
#include <winternl.h>

// The test executable's import slot of the system function `name` holds the function after it.
#ifdef __i386__
#define TINTMARK_IMPORT_SLOT(name, bytes) "__imp__" #name "@" #bytes
#else
#define TINTMARK_IMPORT_SLOT(name, bytes) "__imp_" #name
#endif
#define TINTMARK_HOLD_SLOT(name, bytes, ...)                            \
  extern "C" decltype(&__VA_ARGS__) tintmarkTest##name##Import __asm__( \
      TINTMARK_IMPORT_SLOT(name, bytes));                               \
  decltype(&__VA_ARGS__) tintmarkTest##name##Import = __VA_ARGS__;

extern "C" NTSTATUS NTAPI LdrGetProcedureAddress(HMODULE module, ANSI_STRING* name, ULONG ordinal,
                                                 PVOID* address);

namespace {

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

template <class Function>
Function Exported(const char* dll, const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void (*)()>(SystemLookUp(GetModuleHandleA(dll), name)));
}

template <class Function>
Function User32(const char* name) {
  return Exported<Function>("user32.dll", name);
}

template <class Function>
Function Kernel32(const char* name) {
  return Exported<Function>("kernel32.dll", name);
}

}  // namespace
#endif

#if defined(__MINGW32__)
namespace {

// The names looked up by this program and its runtime that each system has. A lookup of any other
// name fails under the switch; the functions the program may look up are checked against these
// systems before they join a list. Active Accessibility (oleacc) came with Windows 98 and 2000;
// NT 4.0 has it only from a later redistributable.
constexpr const char* kWindows2000Names[] = {
    "CommDlgExtendedError", "GetOpenFileNameW", "GetSaveFileNameW",   // comdlg32
    "DragFinish", "DragQueryFileW",                                   // shell32
    "CreateStdAccessibleObject", "LresultFromObject",                 // oleacc
    "CoInitialize", "CoCreateInstance", "CoUninitialize", "SysAllocString",  // ole32, oleaut32
    "__lc_codepage",                                                  // msvcrt (Visual C++ 6)
    "RegQueryValueExW", "RegSetValueExW",                             // advapi32 (NT 3.1 on)
};
constexpr const char* kWindowsNt4Names[] = {
    "CommDlgExtendedError", "GetOpenFileNameW", "GetSaveFileNameW", "DragFinish", "DragQueryFileW",
    "CoInitialize", "CoCreateInstance", "CoUninitialize", "SysAllocString", "__lc_codepage",
    "RegQueryValueExW", "RegSetValueExW",
};
constexpr const char* kWindows98Names[] = {
    "CommDlgExtendedError", "GetOpenFileNameA", "GetSaveFileNameA", "DragFinish", "DragQueryFileA",
    "CreateStdAccessibleObject", "LresultFromObject", "CoInitialize", "CoCreateInstance",
    "CoUninitialize", "SysAllocString", "__lc_codepage",
};

// NONCLIENTMETRICSW as Windows 2000 and XP know it (and NT 4.0), without Vista's
// iPaddedBorderWidth; NONCLIENTMETRICSA likewise on Windows 95, 98 and ME.
constexpr UINT kOldNonClientMetricsSizeW = 500;
constexpr UINT kOldNonClientMetricsSizeA = 340;

// Names refused so far, without repeats. Plain arrays: lookups begin before any constructor runs.
char refused[16][64];
int refusedCount = 0;

// The system the switch stands for: "10", "8.1", "2000", "98" or "nt40"; empty when it is off.
const char* System() {
  static char value[8];
  if (GetEnvironmentVariableA("TINTMARK_WINDOWS", value, sizeof value) == 0) value[0] = '\0';
  return value;
}

bool SwitchOn() { return System()[0] != '\0'; }

template <std::size_t N>
bool Holds(const char* const (&names)[N], const char* name) {
  for (const char* known : names) {
    if (std::strcmp(known, name) == 0) return true;
  }
  return false;
}

// Windows 8.1 (per-monitor DPI, version 1): what it lacks of Windows 10's.
constexpr const char* kWindows10DpiNames[] = {
    "GetDpiForWindow", "AdjustWindowRectExForDpi", "SystemParametersInfoForDpi",
    "GetSystemMetricsForDpi"};

bool SystemHas(const char* name) {
  const std::string system = System();
  if (system == "10") return true;
  if (system == "8.1") return !Holds(kWindows10DpiNames, name);
  if (system == "98") return Holds(kWindows98Names, name);
  if (system == "nt40") return Holds(kWindowsNt4Names, name);
  return Holds(kWindows2000Names, name);
}

void NoteRefused(const char* name) {
  for (int i = 0; i < refusedCount; ++i) {
    if (std::strncmp(refused[i], name, sizeof refused[i] - 1) == 0) return;
  }
  if (refusedCount == static_cast<int>(std::size(refused))) return;
  std::strncpy(refused[refusedCount], name, sizeof refused[refusedCount] - 1);
  ++refusedCount;
}

// TINTMARK_MONITOR_DPI: a monitor of another scale than the system's, which Wine cannot have.
UINT MonitorDpi() {
  char value[8] = {};
  GetEnvironmentVariableA("TINTMARK_MONITOR_DPI", value, sizeof value);
  return static_cast<UINT>(std::atoi(value));
}

// The scale the user chose is the effective DPI (MDT_EFFECTIVE_DPI, 0); the angular and the raw
// ones (1 and 2) are the panel's own, here a 24-inch full-HD screen's.
HRESULT WINAPI DpiForMonitor(HMONITOR, int type, UINT* dpiX, UINT* dpiY) {
  if (type < 0 || type > 2) return E_INVALIDARG;
  *dpiX = *dpiY = type == 0 ? MonitorDpi() : 92;
  return *dpiY > 0 ? S_OK : E_INVALIDARG;
}

UINT WINAPI DpiForWindow(HWND window) { return IsWindow(window) ? MonitorDpi() : 0; }

bool MessageFontRefused(UINT action) {
  if (action != SPI_GETNONCLIENTMETRICS || !tktest::refuseMessageFont) return false;
  SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return true;
}

BOOL WINAPI ParametersForDpi(UINT action, UINT size, void* data, UINT update, UINT dpi) {
  if (MessageFontRefused(action)) return FALSE;
  static const auto system = User32<decltype(&ParametersForDpi)>("SystemParametersInfoForDpi");
  return system(action, size, data, update, dpi);
}

HRESULT WINAPI StandardAccessible(HWND window, LONG object, REFIID id, void** result) {
  static const auto system =
      Exported<decltype(&StandardAccessible)>("oleacc.dll", "CreateStdAccessibleObject");
  if (!tktest::refuseAccessibleObject) return system(window, object, id, result);
  *result = nullptr;
  return E_OUTOFMEMORY;
}

// An argument Windows documents as reserved ("must be zero", "must be NULL"), which Wine ignores:
// anything there but the bits `kAllowed` fails the call, as on a Windows that gives it a meaning.
template <class Value>
ULONG_PTR Bits(Value value) {
  if constexpr (std::is_pointer_v<Value>) {
    return reinterpret_cast<ULONG_PTR>(value);
  } else {
    return static_cast<ULONG_PTR>(value);
  }
}

template <const char* kDll, const char* kName, std::size_t kReserved, ULONG_PTR kAllowed,
          auto kRefused, class Result, class... Arguments>
Result WINAPI AsDocumented(Arguments... arguments) {
  static const auto system = Exported<Result(WINAPI*)(Arguments...)>(kDll, kName);
  if ((Bits(std::get<kReserved>(std::tuple(arguments...))) & ~kAllowed) != 0) {
    return static_cast<Result>(kRefused);
  }
  return system(arguments...);
}

constexpr char kAdvapi32[] = "advapi32.dll";
constexpr char kGdi32[] = "gdi32.dll";
constexpr char kRegQueryValueExW[] = "RegQueryValueExW";
constexpr char kRegSetValueExW[] = "RegSetValueExW";
constexpr auto QueryValueAsDocumented =
    AsDocumented<kAdvapi32, kRegQueryValueExW, 2, 0, ERROR_INVALID_PARAMETER, LONG, HKEY, LPCWSTR,
                 LPDWORD, LPDWORD, LPBYTE, LPDWORD>;
constexpr auto SetValueAsDocumented =
    AsDocumented<kAdvapi32, kRegSetValueExW, 2, 0, ERROR_INVALID_PARAMETER, LONG, HKEY, LPCWSTR,
                 DWORD, DWORD, const BYTE*, DWORD>;

template <class Function>
FARPROC Answer(Function function) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

FARPROC WINAPI LookUp(HMODULE module, LPCSTR name) {
  const bool byName = reinterpret_cast<ULONG_PTR>(name) > 0xFFFF;
  if (byName && MonitorDpi() > 0) {
    if (std::strcmp(System(), "8.1") == 0 && std::strcmp(name, "GetDpiForMonitor") == 0) {
      return Answer(&DpiForMonitor);
    }
    if (std::strcmp(System(), "10") == 0 && std::strcmp(name, "GetDpiForWindow") == 0) {
      return Answer(&DpiForWindow);
    }
  }
  if (byName && SwitchOn() && !SystemHas(name)) {
    NoteRefused(name);
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  if (byName && std::strcmp(name, "SystemParametersInfoForDpi") == 0 &&
      SystemLookUp(module, name)) {
    return Answer(&ParametersForDpi);
  }
  if (byName && SystemLookUp(module, name)) {
    if (std::strcmp(name, "CreateStdAccessibleObject") == 0) return Answer(&StandardAccessible);
    if (std::strcmp(name, kRegQueryValueExW) == 0) return Answer(QueryValueAsDocumented);
    if (std::strcmp(name, kRegSetValueExW) == 0) return Answer(SetValueAsDocumented);
  }
  return SystemLookUp(module, name);
}

// SystemParametersInfoW or, with NONCLIENTMETRICSA, SystemParametersInfoA, refusing the
// non-client metrics in any size but the old system's.
template <class Metrics>
BOOL WINAPI SystemParameters(UINT action, UINT size, void* data, UINT update) {
  constexpr bool kAnsi = std::is_same_v<Metrics, NONCLIENTMETRICSA>;
  constexpr UINT kOldSize = kAnsi ? kOldNonClientMetricsSizeA : kOldNonClientMetricsSizeW;
  if (MessageFontRefused(action)) return FALSE;
  if (action == SPI_GETNONCLIENTMETRICS && SwitchOn() &&
      !(size == kOldSize && data && static_cast<Metrics*>(data)->cbSize == kOldSize)) {
    NoteRefused("SystemParametersInfo with Vista's NONCLIENTMETRICS");
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  using Function = BOOL(WINAPI*)(UINT, UINT, void*, UINT);
  static const auto system =
      User32<Function>(kAnsi ? "SystemParametersInfoA" : "SystemParametersInfoW");
  return system(action, size, data, update);
}

#ifdef __i386__
// Windows 95, 98 and ME have no MoveFileEx; which error their stub sets is not documented, so as
// Windows 98 it fails with one nothing may count on.
BOOL WINAPI MoveFileExAs98(LPCSTR from, LPCSTR to, DWORD flags) {
  if (std::strcmp(System(), "98") == 0) {
    NoteRefused("MoveFileExA");
    SetLastError(ERROR_INVALID_FUNCTION);
    return FALSE;
  }
  static const auto system = Kernel32<decltype(&MoveFileExAs98)>("MoveFileExA");
  return system(from, to, flags);
}
#endif

}  // namespace

#ifdef __i386__
TINTMARK_HOLD_SLOT(MoveFileExA, 12, MoveFileExAs98)
#endif
TINTMARK_HOLD_SLOT(GetProcAddress, 8, LookUp)
#define TINTMARK_DOCUMENTED_CALL(dll, name, bytes, reserved, allowed, refused, ...) \
  static constexpr char k##name[] = #name;                                          \
  TINTMARK_HOLD_SLOT(name, bytes,                                                   \
                     AsDocumented<dll, k##name, reserved, allowed, refused, __VA_ARGS__>)
TINTMARK_DOCUMENTED_CALL(kAdvapi32, RegOpenKeyExA, 20, 2, REG_OPTION_OPEN_LINK,
                         ERROR_INVALID_PARAMETER, LONG, HKEY, LPCSTR, DWORD, REGSAM, PHKEY)
TINTMARK_DOCUMENTED_CALL(kAdvapi32, RegQueryValueExA, 24, 2, 0, ERROR_INVALID_PARAMETER, LONG, HKEY,
                         LPCSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD)
TINTMARK_DOCUMENTED_CALL(kAdvapi32, RegSetValueExA, 24, 2, 0, ERROR_INVALID_PARAMETER, LONG, HKEY,
                         LPCSTR, DWORD, DWORD, const BYTE*, DWORD)
// EnumFontFamiliesEx answers what the callback last did; refused, it calls none.
TINTMARK_DOCUMENTED_CALL(kGdi32, EnumFontFamiliesExA, 20, 4, 0, 0, int, HDC, LPLOGFONTA,
                         FONTENUMPROCA, LPARAM, DWORD)
TINTMARK_DOCUMENTED_CALL(kGdi32, EnumFontFamiliesExW, 20, 4, 0, 0, int, HDC, LPLOGFONTW,
                         FONTENUMPROCW, LPARAM, DWORD)
TINTMARK_HOLD_SLOT(SystemParametersInfoW, 16, SystemParameters<NONCLIENTMETRICSW>)
TINTMARK_HOLD_SLOT(SystemParametersInfoA, 16, SystemParameters<NONCLIENTMETRICSA>)

namespace {

// What the switch refused, in the log of the run.
class OlderWindowsRun : public ::testing::Environment {
 public:
  void TearDown() override {
    if (!SwitchOn()) return;
    std::string names;
    for (int i = 0; i < refusedCount; ++i) names += std::string(" ") + refused[i] + ";";
    std::printf("Windows %s switch (GetVersion 0x%08lX): refused%s\n", System(), GetVersion(),
                names.empty() ? " nothing" : names.c_str());
  }
};

[[maybe_unused]] ::testing::Environment* const olderWindowsRun =
    ::testing::AddGlobalTestEnvironment(new OlderWindowsRun);

}  // namespace
#endif

#if defined(__MINGW32__)
namespace tktest {

std::function<bool()> refuseMenuCall;
std::vector<HMENU> menusMade;
int menusDestroyedAgain = 0;
bool refuseScreenDc = false;
bool refuseProgramIcon = false;
bool refuseMessageFont = false;
bool refuseAccessibleObject = false;

}  // namespace tktest

namespace {

template <const char* kName, class Result, class... Arguments>
Result WINAPI MenuCall(Arguments... arguments) {
  static const auto system = User32<Result(WINAPI*)(Arguments...)>(kName);
  if (tktest::refuseMenuCall && tktest::refuseMenuCall()) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return Result{};
  }
  const Result result = system(arguments...);
  if constexpr (std::is_same_v<Result, HMENU>) {
    if (result) tktest::menusMade.push_back(result);
  }
  return result;
}

BOOL WINAPI DestroyMenuCounted(HMENU menu) {
  static const auto system = User32<decltype(&DestroyMenuCounted)>("DestroyMenu");
  if (!IsMenu(menu)) ++tktest::menusDestroyedAgain;
  return system(menu);
}

HDC WINAPI GetDcRefusingTheScreen(HWND window) {
  static const auto system = User32<decltype(&GetDcRefusingTheScreen)>("GetDC");
  return !window && tktest::refuseScreenDc ? nullptr : system(window);
}

}  // namespace

#define TINTMARK_MENU_CALL(name, bytes, ...) \
  static constexpr char k##name[] = #name;   \
  TINTMARK_HOLD_SLOT(name, bytes, MenuCall<k##name, __VA_ARGS__>)
TINTMARK_MENU_CALL(CreateMenu, 0, HMENU)
TINTMARK_MENU_CALL(CreatePopupMenu, 0, HMENU)
TINTMARK_MENU_CALL(AppendMenuA, 16, BOOL, HMENU, UINT, UINT_PTR, LPCSTR)
TINTMARK_MENU_CALL(AppendMenuW, 16, BOOL, HMENU, UINT, UINT_PTR, LPCWSTR)
TINTMARK_MENU_CALL(SetMenu, 8, BOOL, HWND, HMENU)
TINTMARK_MENU_CALL(CreateAcceleratorTableA, 8, HACCEL, LPACCEL, int)
TINTMARK_MENU_CALL(CreateAcceleratorTableW, 8, HACCEL, LPACCEL, int)
TINTMARK_HOLD_SLOT(DestroyMenu, 4, DestroyMenuCounted)
TINTMARK_HOLD_SLOT(GetDC, 4, GetDcRefusingTheScreen)

namespace tktest {

std::optional<std::size_t> writableBytes;
std::optional<std::pair<std::u16string, std::string>> appendOnRead;
bool takeNewNames = false;
std::vector<std::u16string> takenNames;
bool scanNewFiles = false;
std::vector<HANDLE> scannedFiles;

}  // namespace tktest

namespace {

BOOL WINAPI WriteFileUntilFull(HANDLE file, LPCVOID data, DWORD size, LPDWORD written,
                               LPOVERLAPPED overlapped) {
  static const auto system = Kernel32<decltype(&WriteFileUntilFull)>("WriteFile");
  if (!tktest::writableBytes) return system(file, data, size, written, overlapped);
  const DWORD room = static_cast<DWORD>(std::min<std::size_t>(size, *tktest::writableBytes));
  DWORD wrote = 0;
  if (room > 0 && !system(file, data, room, &wrote, overlapped)) return FALSE;
  *tktest::writableBytes -= wrote;
  if (written) *written = wrote;
  if (wrote == size) return TRUE;
  tktest::writableBytes.reset();
  SetLastError(ERROR_DISK_FULL);
  return FALSE;
}

BOOL WINAPI ReadFileAppendedTo(HANDLE file, LPVOID data, DWORD size, LPDWORD read,
                               LPOVERLAPPED overlapped) {
  static const auto system = Kernel32<decltype(&ReadFileAppendedTo)>("ReadFile");
  if (const auto append = std::exchange(tktest::appendOnRead, std::nullopt)) {
    const HANDLE other =
        CreateFileW(common::win32::WidePtr(append->first), GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD wrote = 0;
    EXPECT_NE(SetFilePointer(other, 0, nullptr, FILE_END), INVALID_SET_FILE_POINTER);
    EXPECT_TRUE(WriteFile(other, append->second.data(), static_cast<DWORD>(append->second.size()),
                          &wrote, nullptr));
    CloseHandle(other);
  }
  return system(file, data, size, read, overlapped);
}

// How the scanner opens each new file made while scanNewFiles is set, by the file's handle.
std::map<HANDLE, std::function<HANDLE()>>& ScanOnClose() {
  static std::map<HANDLE, std::function<HANDLE()>> files;
  return files;
}

// CreateFileW or CreateFileA; asked for a new file while takeNewNames is set, it first makes one
// under that name itself, as another program would have just then.
template <class Char>
HANDLE WINAPI CreateFileRaced(const Char* name, DWORD access, DWORD share,
                              LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD attributes,
                              HANDLE model) {
  constexpr bool kWide = std::is_same_v<Char, wchar_t>;
  static const auto system =
      Kernel32<decltype(&CreateFileRaced<Char>)>(kWide ? "CreateFileW" : "CreateFileA");
  if (tktest::takeNewNames && disposition == CREATE_NEW) {
    const HANDLE other = system(name, GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (other != INVALID_HANDLE_VALUE) {
      CloseHandle(other);
      std::u16string taken;
      if constexpr (kWide) {
        taken = common::win32::FromWide(std::wstring(name));
      } else {
        taken = common::win32::FromAnsi(name);
      }
      tktest::takenNames.push_back(taken.substr(taken.find_last_of(u"\\/") + 1));
    }
  }
  const HANDLE made = system(name, access, share, security, disposition, attributes, model);
  if (tktest::scanNewFiles && disposition == CREATE_NEW && made != INVALID_HANDLE_VALUE) {
    ScanOnClose()[made] = [path = std::basic_string<Char>(name)] {
      return system(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, 0, nullptr);
    };
  }
  return made;
}

BOOL WINAPI CloseHandleScanned(HANDLE handle) {
  static const auto system = Kernel32<decltype(&CloseHandleScanned)>("CloseHandle");
  const auto scan = ScanOnClose().extract(handle);
  const BOOL closed = system(handle);
  if (closed && !scan.empty()) {
    const DWORD error = GetLastError();
    const HANDLE scanner = scan.mapped()();
    EXPECT_NE(scanner, INVALID_HANDLE_VALUE) << GetLastError();
    tktest::scannedFiles.push_back(scanner);
    SetLastError(error);
  }
  return closed;
}

}  // namespace

TINTMARK_HOLD_SLOT(WriteFile, 20, WriteFileUntilFull)
TINTMARK_HOLD_SLOT(ReadFile, 20, ReadFileAppendedTo)
TINTMARK_HOLD_SLOT(CreateFileW, 28, CreateFileRaced<wchar_t>)
TINTMARK_HOLD_SLOT(CreateFileA, 28, CreateFileRaced<char>)
TINTMARK_HOLD_SLOT(CloseHandle, 4, CloseHandleScanned)

namespace {

// What GetGuiResources would count, where Wine answers it with 0: the handles made and not freed.
std::set<void*>& Live() {
  static auto* const handles = new std::set<void*>;  // static objects free theirs after exit
  return *handles;
}

template <const char* kDll, const char* kName, class Result, class... Arguments>
Result WINAPI Made(Arguments... arguments) {
  static const auto system = Exported<Result(WINAPI*)(Arguments...)>(kDll, kName);
  const Result result = system(arguments...);
  if (result) Live().insert(reinterpret_cast<void*>(result));
  return result;
}

template <const char* kDll, const char* kName, class Handle>
BOOL WINAPI Freed(Handle handle) {
  static const auto system = Exported<BOOL(WINAPI*)(Handle)>(kDll, kName);
  const BOOL result = system(handle);
  if (result) Live().erase(reinterpret_cast<void*>(handle));
  return result;
}

constexpr char kUser32[] = "user32.dll";
constexpr char kLoadImageA[] = "LoadImageA";

HANDLE WINAPI LoadImageCounted(HINSTANCE instance, LPCSTR name, UINT type, int width, int height,
                               UINT flags) {
  if (tktest::refuseProgramIcon && instance == GetModuleHandleA(nullptr)) {
    SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return nullptr;
  }
  return Made<kUser32, kLoadImageA, HANDLE, HINSTANCE, LPCSTR, UINT, int, int, UINT>(
      instance, name, type, width, height, flags);
}

}  // namespace

std::size_t tktest::LiveObjects() { return Live().size(); }

#define TINTMARK_COUNTED_CALL(how, dll, name, bytes, ...) \
  static constexpr char k##name[] = #name;                \
  TINTMARK_HOLD_SLOT(name, bytes, how<dll, k##name, __VA_ARGS__>)
TINTMARK_COUNTED_CALL(Made, kGdi32, CreateFontIndirectW, 4, HFONT, const LOGFONTW*)
TINTMARK_COUNTED_CALL(Made, kGdi32, CreateFontIndirectA, 4, HFONT, const LOGFONTA*)
TINTMARK_COUNTED_CALL(Made, kGdi32, CreatePen, 12, HPEN, int, int, COLORREF)
TINTMARK_COUNTED_CALL(Made, kGdi32, CreateSolidBrush, 4, HBRUSH, COLORREF)
TINTMARK_COUNTED_CALL(Made, kGdi32, CreateCompatibleDC, 4, HDC, HDC)
TINTMARK_HOLD_SLOT(LoadImageA, 24, LoadImageCounted)
TINTMARK_COUNTED_CALL(Freed, kGdi32, DeleteObject, 4, HGDIOBJ)
TINTMARK_COUNTED_CALL(Freed, kGdi32, DeleteDC, 4, HDC)
TINTMARK_COUNTED_CALL(Freed, kUser32, DestroyIcon, 4, HICON)
#endif
