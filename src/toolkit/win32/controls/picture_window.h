#pragma once
// A picture box as a STATIC showing the program icon, at a size that grows with the DPI.

#include "toolkit/win32/controls/control_window.h"

namespace tk::win32 {

class PictureWindow final : public ControlWindow {
 public:
  PictureWindow(FormWindow& form, PictureBox& picture, HWND parent, UINT id);

  void LayOut() override;

 private:
  PictureBox& picture_;
  IconHandle icon_;
};

}  // namespace tk::win32
