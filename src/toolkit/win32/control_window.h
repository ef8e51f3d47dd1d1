#pragma once
// One control of a form as a subclassed Win32 control: mirrors the portable control's state and
// reports what the user does to it.

#include <cstdint>
#include <string>

#include "toolkit/backend.h"
#include "toolkit/controls.h"
#include "toolkit/win32/handles.h"
#include "toolkit/win32/windows_api.h"

namespace tk::win32 {

class FormWindow;

class ControlWindow final : public ControlPeer {
 public:
  ControlWindow(FormWindow& form, Control& control, HWND window);
  ~ControlWindow() override;
  ControlWindow(const ControlWindow&) = delete;
  ControlWindow& operator=(const ControlWindow&) = delete;

  void SetText(const std::u16string& text) override;
  void SetEnabled(bool enabled) override;
  void SetFocus() override;
  void SetChecked(bool checked) override;
  void SetColors(Color fore, Color back) override;
  int SelStart() const override;
  void SetSelStart(int position) override;

  HWND Handle() const { return window_; }
  Control& Owner() const { return control_; }
  ControlKind Kind() const { return control_.Spec().kind; }
  static ControlWindow* FromHandle(HWND window);

  // Called by the form window for the notifications it receives from this control.
  void OnCommand(UINT code);
  // The brush for WM_CTLCOLOR*, with the DC's colours set; null for the system's default.
  HBRUSH OnCtlColor(HDC dc);

  void SetGroup(int group) { group_ = group; }
  int Group() const { return group_; }
  void FitToContent();

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT CallOriginal(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT AdjustDialogCode(LRESULT code, LPARAM lParam) const;
  void OnGainedFocus();
  void OnLostFocus(HWND to);
  void OnMouseDown(std::int16_t button, WPARAM keys, LPARAM position);

  FormWindow& form_;
  Control& control_;
  HWND window_;
  WNDPROC original_ = nullptr;
  bool settingText_ = false;
  Color fore_ = 0, back_ = 0xFFFFFF;
  bool customColors_ = false;
  BrushHandle brush_;
  int group_ = -1;
};

}  // namespace tk::win32
