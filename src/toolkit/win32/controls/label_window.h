#pragma once
// A label as a STATIC text, sized to its caption when the design asks.

#include "toolkit/win32/controls/control_window.h"

namespace tk::win32 {

class LabelWindow final : public ControlWindow {
 public:
  LabelWindow(FormWindow& form, Label& label, HWND parent, UINT id);

  void SetText(const std::u16string& text) override;
  void LayOut() override;

 private:
  void FitToCaption();

  Label& label_;
};

}  // namespace tk::win32
