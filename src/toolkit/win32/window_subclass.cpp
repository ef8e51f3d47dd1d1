#include "toolkit/win32/window_subclass.h"

#include <commctrl.h>
#include <shlwapi.h>  // DLLVERSIONINFO

#include "common/win32/system_function.h"
#include "toolkit/win32/windows_calls.h"

namespace tk::win32 {

namespace {

using common::win32::SystemFunction;

constexpr UINT_PTR kSubclassId = 1;
// The chained road's window properties: the WindowSubclass while it is installed, and the
// procedure it stands in front of, which it keeps calling after a later subclasser made it stay.
constexpr char kOwnerProperty[] = "Tintmark.Subclass";
constexpr char kNextProperty[] = "Tintmark.NextProcedure";

struct Comctl32Subclassing {
  BOOL(WINAPI* set)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR) = nullptr;
  BOOL(WINAPI* remove)(HWND, SUBCLASSPROC, UINT_PTR) = nullptr;
  LRESULT(WINAPI* next)(HWND, UINT, WPARAM, LPARAM) = nullptr;
};

// comctl32's subclassing functions, which versions before 6 export by ordinal only; none where
// comctl32 is older than 5.8 (Windows 95, 98 and NT 4.0 without a later Internet Explorer).
const Comctl32Subclassing& Comctl32() {
  static const Comctl32Subclassing found = [] {
    const HMODULE comctl32 = LoadLibraryA("comctl32.dll");
    const auto getVersion = SystemFunction<DLLGETVERSIONPROC>(comctl32, "DllGetVersion");
    DLLVERSIONINFO version{};
    version.cbSize = sizeof version;
    if (!getVersion || FAILED(getVersion(&version)) ||
        MAKELONG(version.dwMinorVersion, version.dwMajorVersion) < MAKELONG(80, 5)) {
      return Comctl32Subclassing{};
    }
    Comctl32Subclassing functions;
    functions.set = SystemFunction<decltype(functions.set)>(comctl32, MAKEINTRESOURCEA(410));
    functions.remove = SystemFunction<decltype(functions.remove)>(comctl32, MAKEINTRESOURCEA(412));
    functions.next = SystemFunction<decltype(functions.next)>(comctl32, MAKEINTRESOURCEA(413));
    return functions.set && functions.remove && functions.next ? functions : Comctl32Subclassing{};
  }();
  return found;
}

}  // namespace

void WindowSubclass::Install(HWND window, Procedure procedure, void* owner) {
  Remove();
  window_ = window;
  procedure_ = procedure;
  owner_ = owner;
  const Comctl32Subclassing& comctl32 = Comctl32();
  viaComctl32_ = comctl32.set != nullptr;
  if (viaComctl32_) {
    installed_ = comctl32.set(window, &Comctl32Procedure, kSubclassId,
                              reinterpret_cast<DWORD_PTR>(this)) != FALSE;
    return;
  }
  SetPropA(window, kOwnerProperty, this);
  chainedNext_ = reinterpret_cast<WNDPROC>(
      Windows().SetLong(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ChainedProcedure)));
  SetPropA(window, kNextProperty, reinterpret_cast<HANDLE>(chainedNext_));
  installed_ = chainedNext_ != nullptr;
}

void WindowSubclass::Remove() {
  if (!installed_) return;
  installed_ = false;
  if (!IsWindow(window_)) return;
  if (viaComctl32_) {
    Comctl32().remove(window_, &Comctl32Procedure, kSubclassId);
    return;
  }
  RemovePropA(window_, kOwnerProperty);
  // Only while nobody has subclassed the window after us: otherwise putting our predecessor back
  // would unhook that later subclasser, so ChainedProcedure stays and passes everything on.
  if (Windows().Long(window_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&ChainedProcedure)) {
    Windows().SetLong(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(chainedNext_));
    RemovePropA(window_, kNextProperty);
  }
}

LRESULT WindowSubclass::CallNext(UINT message, WPARAM wParam, LPARAM lParam) const {
  if (viaComctl32_) return Comctl32().next(window_, message, wParam, lParam);
  return Windows().CallProcedure(chainedNext_, window_, message, wParam, lParam);
}

LRESULT CALLBACK WindowSubclass::Comctl32Procedure(HWND, UINT message, WPARAM wParam, LPARAM lParam,
                                                   UINT_PTR, DWORD_PTR self) {
  const auto* subclass = reinterpret_cast<const WindowSubclass*>(self);
  return subclass->procedure_(subclass->owner_, message, wParam, lParam);
}

LRESULT CALLBACK WindowSubclass::ChainedProcedure(HWND window, UINT message, WPARAM wParam,
                                                  LPARAM lParam) {
  if (const auto* subclass = static_cast<const WindowSubclass*>(GetPropA(window, kOwnerProperty))) {
    return subclass->procedure_(subclass->owner_, message, wParam, lParam);
  }
  const auto next = reinterpret_cast<WNDPROC>(GetPropA(window, kNextProperty));
  const LRESULT result = next ? Windows().CallProcedure(next, window, message, wParam, lParam) : 0;
  if (message == WM_NCDESTROY) RemovePropA(window, kNextProperty);
  return result;
}

}  // namespace tk::win32
