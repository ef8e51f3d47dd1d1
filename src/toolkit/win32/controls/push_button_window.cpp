#include "toolkit/win32/controls/push_button_window.h"

#include <windowsx.h>

#include "toolkit/win32/form_window.h"
#include "toolkit/win32/windows_calls.h"

namespace tk::win32 {

namespace {

struct MouseButton {
  std::int16_t button;
  UINT downMessage;
  WPARAM keyBit;
};

std::optional<MouseButton> PressedButton(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      return MouseButton{kLeftButton, WM_LBUTTONDOWN, MK_LBUTTON};
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      return MouseButton{kRightButton, WM_RBUTTONDOWN, MK_RBUTTON};
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      return MouseButton{kMiddleButton, WM_MBUTTONDOWN, MK_MBUTTON};
    default:
      return std::nullopt;
  }
}

WindowDesign Design(const CommandButton& button) {
  const DWORD type = button.Spec().defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  return {.className = "BUTTON", .style = WS_TABSTOP | type, .text = button.Spec().caption};
}

}  // namespace

PushButtonWindow::PushButtonWindow(FormWindow& form, CommandButton& button, HWND parent, UINT id)
    : ControlWindow(form, button, parent, id, Design(button)), button_(button) {}

void PushButtonWindow::OnCommand(UINT code) {
  if (code == BN_CLICKED && Reporting()) button_.OnClick();
}

void PushButtonWindow::Click() {
  if (Reporting() && IsWindowEnabled(Handle())) button_.OnClick();
}

LRESULT PushButtonWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (const std::optional<MouseButton> pressed = PressedButton(message)) {
    // A fast second press is a press like the first, not a double click.
    const LRESULT result = CallNext(pressed->downMessage, wParam, lParam);
    // A click by keyboard (an access key, BM_CLICK) fakes a press with no button held.
    if (wParam & pressed->keyBit) OnMouseDown(pressed->button, wParam, lParam);
    return result;
  }
  // A key held down repeats its WM_KEYDOWN with bit 30 set.
  if (message == WM_KEYDOWN && !(lParam & (1 << 30)) && Reporting()) {
    button_.OnKeyDown(static_cast<std::int16_t>(wParam), KeyboardShiftState());
    if (!Handle()) return 0;
  }
  if (message == BM_SETSTYLE) {
    // The dialog manager makes the focused button the default, which would then answer Enter;
    // only the form's own default button may.
    const WPARAM type = button_.Spec().defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    wParam = (wParam & ~static_cast<WPARAM>(BS_TYPEMASK)) | type;
  }
  return CallNext(message, wParam, lParam);
}

void PushButtonWindow::OnMouseDown(std::int16_t button, WPARAM keys, LPARAM position) {
  if (!Reporting()) return;
  std::int16_t shift = 0;
  if (keys & MK_SHIFT) shift |= kShiftBit;
  if (keys & MK_CONTROL) shift |= kCtrlBit;
  const int dpi = form_.Dpi();
  const auto x = static_cast<float>(PixelsToTwips(GET_X_LPARAM(position), dpi));
  const auto y = static_cast<float>(PixelsToTwips(GET_Y_LPARAM(position), dpi));
  button_.OnMouseDown(button, shift, x, y);
}

}  // namespace tk::win32
