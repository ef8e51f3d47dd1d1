#include "toolkit/win32/controls/window_subclass.h"

#include "toolkit/win32/windows_calls.h"

namespace tk::win32 {

namespace {

// The procedure ChainedProcedure stands in front of, for the time after it was taken out while
// a later subclasser still calls it.
constexpr char kNextProperty[] = "Tintmark.NextProcedure";

}  // namespace

bool WindowSubclass::Install(HWND window, Procedure procedure, void* owner) {
  if (window_) return false;
  window_ = window;
  procedure_ = procedure;
  owner_ = owner;
  WideOrAnsi().SetLong(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  next_ = reinterpret_cast<WNDPROC>(
      WideOrAnsi().SetLong(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ChainedProcedure)));
  installed_ = next_ != nullptr;
  if (!installed_) WideOrAnsi().SetLong(window, GWLP_USERDATA, 0);
  return installed_;
}

void WindowSubclass::Remove() {
  if (!installed_) return;
  installed_ = false;
  if (!IsWindow(window_)) return;
  WideOrAnsi().SetLong(window_, GWLP_USERDATA, 0);
  // Only while nobody has subclassed the window after us: otherwise putting our predecessor back
  // would unhook that later subclasser, so ChainedProcedure stays and passes everything on.
  if (WideOrAnsi().Long(window_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&ChainedProcedure)) {
    WideOrAnsi().SetLong(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(next_));
  } else {
    SetPropA(window_, kNextProperty, reinterpret_cast<HANDLE>(next_));
  }
}

LRESULT WindowSubclass::CallNext(UINT message, WPARAM wParam, LPARAM lParam) const {
  return WideOrAnsi().CallProcedure(next_, window_, message, wParam, lParam);
}

LRESULT CALLBACK WindowSubclass::ChainedProcedure(HWND window, UINT message, WPARAM wParam,
                                                  LPARAM lParam) {
  LRESULT result = 0;
  if (const auto* subclass =
          reinterpret_cast<const WindowSubclass*>(WideOrAnsi().Long(window, GWLP_USERDATA))) {
    result = subclass->procedure_(subclass->owner_, message, wParam, lParam);
  } else if (const auto next = reinterpret_cast<WNDPROC>(GetPropA(window, kNextProperty))) {
    result = WideOrAnsi().CallProcedure(next, window, message, wParam, lParam);
  }
  // A window's properties must be gone before its WM_NCDESTROY returns; Remove, called during
  // it, may just have set ours.
  if (message == WM_NCDESTROY) RemovePropA(window, kNextProperty);
  return result;
}

}  // namespace tk::win32
