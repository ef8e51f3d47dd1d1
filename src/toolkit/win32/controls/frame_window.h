#pragma once
// A frame as a BUTTON group box holding its members' windows: it draws only its edge and the
// lines that lie in it, and passes its members' notifications on to the form.

#include "toolkit/win32/controls/control_window.h"

namespace tk::win32 {

class FrameWindow final : public ControlWindow {
 public:
  FrameWindow(FormWindow& form, Frame& frame, HWND parent, UINT id);

  bool SeeThrough() const override { return true; }

 private:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint();

  Frame& frame_;
};

}  // namespace tk::win32
