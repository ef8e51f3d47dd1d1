#pragma once
// A procedure put in front of one window's own, in a way that lets other code subclass the same
// window before or after us: the window procedure is chained, and this object is found through
// the window's user data, which belongs to whoever created the window (this program). Reading
// it costs nothing; comctl32's SetWindowSubclass and window properties, read on every message,
// cost Wine a round trip to its server each.

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

  // Once per object, and false when refused: installed again after another subclasser came, it
  // would stand in front of that one, which calls the procedure left behind, which calls this
  // one again, for ever.
  bool Install(HWND window, Procedure procedure, void* owner);
  // Takes the procedure out again: the window's messages go straight on from then on.
  void Remove();
  LRESULT CallNext(UINT message, WPARAM wParam, LPARAM lParam) const;

 private:
  static LRESULT CALLBACK ChainedProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
  Procedure procedure_ = nullptr;
  void* owner_ = nullptr;
  bool installed_ = false;
  WNDPROC next_ = nullptr;  // the procedure this one stands in front of
};

}  // namespace tk::win32
