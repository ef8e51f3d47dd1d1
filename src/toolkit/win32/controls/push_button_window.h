#pragma once
// A command button as a BUTTON push button: its clicks and its mouse presses.

#include "toolkit/win32/controls/control_window.h"

namespace tk::win32 {

class PushButtonWindow final : public ControlWindow {
 public:
  PushButtonWindow(FormWindow& form, CommandButton& button, HWND parent, UINT id);

  void OnCommand(UINT code) override;
  // Enter or Esc answered by the form for this button.
  void Click();

 private:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnMouseDown(std::int16_t button, WPARAM keys, LPARAM position);

  CommandButton& button_;
};

}  // namespace tk::win32
