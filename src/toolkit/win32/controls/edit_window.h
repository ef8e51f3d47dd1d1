#pragma once
// A text box as an EDIT control: its text, caret and colours, its changes and keys.

#include "toolkit/win32/controls/control_window.h"

namespace tk::win32 {

class EditWindow final : public ControlWindow {
 public:
  EditWindow(FormWindow& form, TextBox& box, HWND parent, UINT id);

  void SetText(const std::u16string& text) override;
  int SelStart() const override;
  void SetSelStart(int position) override;
  void OnCommand(UINT code) override;

 private:
  static WindowDesign Design(const FormWindow& form, const TextBox& box);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  LRESULT AdjustDialogCode(LRESULT code, LPARAM lParam) const;

  TextBox& box_;
  bool settingText_ = false;
};

}  // namespace tk::win32
