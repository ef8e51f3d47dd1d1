#include "toolkit/win32/control_window.h"

#include "toolkit/win32/form_window.h"
#include "toolkit/win32/program_icon.h"
#include "toolkit/win32/windows_calls.h"

namespace tk::win32 {

namespace {

bool IsInside(HWND container, HWND window) {
  return window && (window == container || IsChild(container, window));
}

}  // namespace

ControlWindow::ControlWindow(FormWindow& form, Control& control, HWND parent, UINT id,
                             const WindowDesign& design)
    : form_(form), control_(control) {
  const ControlSpec& spec = control.Spec();
  DWORD style = WS_CHILD | WS_VISIBLE | design.style;
  if (design.startsGroup) style |= WS_GROUP;
  if (!control.Enabled()) style |= WS_DISABLED;
  const int dpi = form.Dpi();
  const std::u16string text(design.text);
  window_ = Windows().NewWindow(
      design.exStyle, design.className, text, style, TwipsToPixels(spec.left, dpi),
      TwipsToPixels(spec.top, dpi), TwipsToPixels(spec.width, dpi), TwipsToPixels(spec.height, dpi),
      parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr);
  if (!window_) return;
  Windows().Send(window_, WM_SETFONT, reinterpret_cast<WPARAM>(form.FontFor(spec)), FALSE);
  if (spec.foreColor || spec.backColor) {
    customColors_ = true;
    fore_ = spec.foreColor.value_or(GetSysColor(COLOR_BTNTEXT));
    back_ = spec.backColor.value_or(GetSysColor(COLOR_BTNFACE));
  }
}

ControlWindow::~ControlWindow() = default;

void ControlWindow::Subclass() {
  if (window_) subclass_.Install(window_, &ControlWindow::Receive, this);
}

LRESULT ControlWindow::Receive(void* self, UINT message, WPARAM wParam, LPARAM lParam) {
  auto& control = *static_cast<ControlWindow*>(self);
  try {
    return control.Dispatch(message, wParam, lParam);
  } catch (...) {
    ReportSwallowedException("control window procedure");
    return 0;
  }
}

LRESULT ControlWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETFOCUS: {
      const LRESULT result = CallNext(message, wParam, lParam);
      OnGainedFocus();
      return result;
    }
    case WM_KILLFOCUS: {
      const LRESULT result = CallNext(message, wParam, lParam);
      OnLostFocus(reinterpret_cast<HWND>(wParam));
      return result;
    }
    case WM_NCDESTROY:
      subclass_.Remove();
      window_ = nullptr;
      return CallNext(message, wParam, lParam);
    default:
      return OnMessage(message, wParam, lParam);
  }
}

LRESULT ControlWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return CallNext(message, wParam, lParam);
}

LRESULT ControlWindow::CallNext(UINT message, WPARAM wParam, LPARAM lParam) const {
  return subclass_.CallNext(message, wParam, lParam);
}

bool ControlWindow::Reporting() const { return window_ && form_.Reporting(); }

void ControlWindow::SetText(const std::u16string& text) {
  if (window_) Windows().SetText(window_, text);
}

void ControlWindow::SetEnabled(bool enabled) {
  if (window_) EnableWindow(window_, enabled);
}

void ControlWindow::SetFocus() {
  // A form that is not shown yet cannot take the focus.
  if (window_ && IsWindowVisible(form_.Handle())) ::SetFocus(window_);
}

void ControlWindow::SetColors(Color fore, Color back) {
  customColors_ = true;
  fore_ = fore;
  back_ = back;
  brush_.reset();
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

HBRUSH ControlWindow::OnCtlColor(HDC dc) { return PaintColors(dc, fore_); }

HBRUSH ControlWindow::PaintColors(HDC dc, COLORREF text) {
  if (!customColors_) return nullptr;
  SetTextColor(dc, text);
  SetBkColor(dc, back_);
  if (!brush_) brush_.reset(CreateSolidBrush(back_));
  return brush_.get();
}

void ControlWindow::FitAround(RECT content) {
  if (!window_) return;
  const auto style = static_cast<DWORD>(Windows().Long(window_, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(Windows().Long(window_, GWL_EXSTYLE));
  AdjustWindowRectEx(&content, style, FALSE, exStyle);
  SetWindowPos(window_, nullptr, 0, 0, content.right - content.left, content.bottom - content.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ControlWindow::OnGainedFocus() {
  if (!Reporting() || !control_.TakesFocus()) return;
  Form& form = control_.Parent();
  Control* previous = form.Focused();
  // Coming back to the control that had the focus when the form was deactivated is no change.
  if (previous == &control_) return;
  // The focus moved while the form was inactive: the control that had it hears of it now.
  if (previous) previous->OnFocusChanged(false);
  if (GetFocus() != window_) return;
  control_.OnFocusChanged(true);
}

void ControlWindow::OnLostFocus(HWND to) {
  if (!Reporting() || !control_.TakesFocus()) return;
  if (control_.Parent().Focused() != &control_) return;
  // Another window taking the activation (a message box, another program) leaves the form's
  // focused control as it is, to get the focus back when the form is activated again.
  const HWND form = form_.Handle();
  const bool staysInForm = to ? IsInside(form, to) : GetActiveWindow() == form;
  if (staysInForm) control_.OnFocusChanged(false);
}

}  // namespace tk::win32
