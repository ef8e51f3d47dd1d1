#pragma once
// A procedure put in front of one window's own, the way that lets other code subclass the same
// window before or after us: comctl32's SetWindowSubclass where the system has it (version 5.8
// and later: Windows 98 SE, 2000 and later), else a window procedure chained in front.

#include "toolkit/win32/windows_api.h"

namespace tk::win32 {

class WindowSubclass {
 public:
  // What the window's messages reach first; it calls CallNext for the window's own handling.
  using Procedure = LRESULT (*)(void* owner, UINT message, WPARAM wParam, LPARAM lParam);

  WindowSubclass() = default;
  ~WindowSubclass() { Remove(); }
  WindowSubclass(const WindowSubclass&) = delete;
  WindowSubclass& operator=(const WindowSubclass&) = delete;

  // Chooses the road for this system, once for the whole program.
  void Install(HWND window, Procedure procedure, void* owner);
  // Takes the procedure out again: the window's messages go straight on from then on.
  void Remove();
  LRESULT CallNext(UINT message, WPARAM wParam, LPARAM lParam) const;

 private:
  static LRESULT CALLBACK Comctl32Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR id, DWORD_PTR self);
  static LRESULT CALLBACK ChainedProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
  Procedure procedure_ = nullptr;
  void* owner_ = nullptr;
  bool installed_ = false;
  bool viaComctl32_ = false;
  WNDPROC chainedNext_ = nullptr;  // the procedure the chained road stands in front of
};

}  // namespace tk::win32
