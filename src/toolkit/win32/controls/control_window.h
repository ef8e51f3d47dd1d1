#pragma once
// The native side of one control: a Win32 control window that mirrors the portable control and
// reports what the user does to it. Each kind of control is a small class over this base, which
// holds what they all share: the window, its subclassing, the focus and the colours.

#include <string>

#include "toolkit/backend.h"
#include "toolkit/controls.h"
#include "toolkit/win32/controls/window_subclass.h"
#include "toolkit/win32/handles.h"
#include "toolkit/win32/windows_api.h"

namespace tk::win32 {

class FormWindow;

// The Shift, Ctrl and Alt bits as the keyboard holds them now.
std::int16_t KeyboardShiftState();

// The window a kind of control makes: its class, styles and text.
struct WindowDesign {
  const char* className = "STATIC";
  DWORD style = 0;
  DWORD exStyle = 0;
  std::u16string_view text{};
  bool startsGroup = true;  // WS_GROUP: the dialog manager's arrow keys stop at it
};

class ControlWindow : public ControlPeer {
 public:
  ~ControlWindow() override;
  ControlWindow(const ControlWindow&) = delete;
  ControlWindow& operator=(const ControlWindow&) = delete;

  // What every kind does alike; the kinds with more to do override it.
  void SetText(const std::u16string& text) override;
  void SetEnabled(bool enabled) override;
  void SetFocus() override;
  void SetChecked(bool) override {}
  void SetColors(Color fore, Color back) override;
  int SelStart() const override { return 0; }
  void SetSelStart(int) override {}

  HWND Handle() const { return window_; }
  Control& Owner() const { return control_; }

  // Places the window from the design at the form's DPI, in its font; the kinds that size
  // themselves to their content do so then. Called once the window is complete, and again at
  // each change of the form's DPI.
  virtual void LayOut();
  // Puts the window's messages through this object; called once it is complete.
  void Subclass();
  // A notification the control sent its parent (WM_COMMAND).
  virtual void OnCommand(UINT /*code*/) {}
  // The brush for WM_CTLCOLOR*, with the DC's colours set; null for the system's default.
  HBRUSH OnCtlColor(HDC dc);
  // Whether the form paints through it (a frame draws only its edge).
  virtual bool SeeThrough() const { return false; }

 protected:
  ControlWindow(FormWindow& form, Control& control, HWND parent, UINT id,
                const WindowDesign& design);

  // This kind's own messages; everything else goes on to the control's own procedure.
  virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT CallNext(UINT message, WPARAM wParam, LPARAM lParam) const;
  // Whether what the user does still reaches the portable control.
  bool Reporting() const;
  // Sizes the window around `content` (client coordinates), its borders added.
  void FitAround(RECT content);

  FormWindow& form_;

 private:
  static LRESULT Receive(void* self, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  void OnGainedFocus();
  void OnLostFocus(HWND to);

  Control& control_;
  HWND window_ = nullptr;
  int placedFor_ = 0;  // the DPI the window stands where the design puts it for
  WindowSubclass subclass_;
  // How the control's accessible name reaches clients, once the first has asked.
  enum class Naming { kUnasked, kAnnotated, kWrapped } naming_ = Naming::kUnasked;
  Color fore_ = kButtonText, back_ = kButtonFace;
  BrushHandle brush_;  // of an own background colour
};

}  // namespace tk::win32
