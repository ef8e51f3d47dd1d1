#include "toolkit/win32/controls/control_window.h"

#include <cstdint>

#include "toolkit/contrast.h"
#include "toolkit/win32/accessible_name.h"
#include "toolkit/win32/form_window.h"
#include "toolkit/win32/program_icon.h"
#include "toolkit/win32/win32_backend.h"
#include "toolkit/win32/windows_calls.h"

namespace tk::win32 {

namespace {

// The design's place of a control in its container, in pixels at `dpi`.
RECT PlaceAt(const ControlSpec& spec, int dpi) {
  const int left = TwipsToPixels(spec.left, dpi), top = TwipsToPixels(spec.top, dpi);
  return {left, top, left + TwipsToPixels(spec.width, dpi), top + TwipsToPixels(spec.height, dpi)};
}

bool IsSystem(Color color) { return (color & kSystemColor) != 0; }

COLORREF Resolved(Color color) {
  return IsSystem(color) ? GetSysColor(static_cast<int>(color & 0xFF)) : color;
}

bool HighContrast() {
  HIGHCONTRASTA scheme{};  // the A form, which every system has; its scheme's name is not read
  scheme.cbSize = sizeof(scheme);
  return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof(scheme), &scheme, 0) &&
         (scheme.dwFlags & HCF_HIGHCONTRASTON);
}

}  // namespace

std::int16_t KeyboardShiftState() {
  std::int16_t shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= kShiftBit;
  if (GetKeyState(VK_CONTROL) < 0) shift |= kCtrlBit;
  if (GetKeyState(VK_MENU) < 0) shift |= kAltBit;
  return shift;
}

ControlWindow::ControlWindow(FormWindow& form, Control& control, HWND parent, UINT id,
                             const WindowDesign& design)
    : form_(form), control_(control) {
  const ControlSpec& spec = control.Spec();
  DWORD style = WS_CHILD | WS_VISIBLE | design.style;
  if (design.startsGroup) style |= WS_GROUP;
  if (!control.Enabled()) style |= WS_DISABLED;
  const RECT place = PlaceAt(spec, form.Dpi());
  const std::u16string text(design.text);
  window_ =
      WideOrAnsi().NewWindow(design.exStyle, design.className, text, style, place.left, place.top,
                             place.right - place.left, place.bottom - place.top, parent,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr);
  if (!window_) return;
  placedFor_ = form.Dpi();
  fore_ = spec.foreColor.value_or(fore_);
  back_ = spec.backColor.value_or(back_);
}

ControlWindow::~ControlWindow() = default;

void ControlWindow::LayOut() {
  if (!window_) return;
  if (placedFor_ != form_.Dpi()) {
    placedFor_ = form_.Dpi();
    const RECT place = PlaceAt(control_.Spec(), placedFor_);
    SetWindowPos(window_, nullptr, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  WideOrAnsi().Send(window_, WM_SETFONT, reinterpret_cast<WPARAM>(form_.FontFor(control_.Spec())),
                    FALSE);
}

void ControlWindow::Subclass() {
  if (window_) subclass_.Install(window_, &ControlWindow::Receive, this);
}

LRESULT ControlWindow::Receive(void* self, UINT message, WPARAM wParam, LPARAM lParam) {
  auto& control = *static_cast<ControlWindow*>(self);
  try {
    return control.Dispatch(message, wParam, lParam);
  } catch (...) {
    control.form_.Backend().OnUncaughtException();
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
    case WM_GETOBJECT: {
      const std::u16string_view name = control_.Spec().accessibleName;
      if (name.empty()) return OnMessage(message, wParam, lParam);
      // Asked for any object, UI Automation's root included: the name must be there before the
      // system's object is made.
      if (naming_ == Naming::kUnasked) {
        naming_ = AnnotateName(window_, name) ? Naming::kAnnotated : Naming::kWrapped;
      }
      if (naming_ == Naming::kWrapped && static_cast<LONG>(lParam) == OBJID_CLIENT) {
        if (const LRESULT named = AccessibleObjectNamed(window_, wParam, name)) return named;
      }
      return OnMessage(message, wParam, lParam);
    }
    case WM_DESTROY:
      if (naming_ == Naming::kAnnotated) ClearAnnotatedName(window_);
      return OnMessage(message, wParam, lParam);
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
  if (window_) WideOrAnsi().SetText(window_, text);
}

void ControlWindow::SetEnabled(bool enabled) {
  if (window_) EnableWindow(window_, enabled);
}

void ControlWindow::SetFocus() {
  // A form that is not shown yet cannot take the focus.
  if (window_ && IsWindowVisible(form_.Handle())) ::SetFocus(window_);
}

void ControlWindow::SetColors(Color fore, Color back) {
  fore_ = fore;
  back_ = back;
  brush_.reset();
  // A window not shown yet is painted whole once it is.
  if (window_ && IsWindowVisible(window_)) InvalidateRect(window_, nullptr, TRUE);
}

HBRUSH ControlWindow::OnCtlColor(HDC dc) {
  // The system paints its own colours, and greys a disabled field in its own way.
  if (IsSystem(fore_) && IsSystem(back_)) return nullptr;
  const COLORREF back = Resolved(back_);
  COLORREF text = Resolved(fore_);
  // A text colour of the control's own on the system's background gives way to the system's text
  // colour where it would not read: in high contrast, and on a face too dark for it.
  if (IsSystem(back_) && !IsSystem(fore_) && (HighContrast() || !TextReads(text, back))) {
    text = GetSysColor(back_ == kWindowBackground ? COLOR_WINDOWTEXT : COLOR_BTNTEXT);
  }
  SetTextColor(dc, text);
  SetBkColor(dc, back);
  if (IsSystem(back_)) return GetSysColorBrush(static_cast<int>(back_ & 0xFF));
  if (!brush_) brush_.reset(CreateSolidBrush(back));
  return brush_.get();
}

void ControlWindow::FitAround(RECT content) {
  if (!window_) return;
  const auto style = static_cast<DWORD>(WideOrAnsi().Long(window_, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(WideOrAnsi().Long(window_, GWL_EXSTYLE));
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
  // focused control as it is, to get the focus back when the form is activated again; so does
  // the form minimized, or the form window itself taking the focus on its way back to a control.
  const HWND form = form_.Handle();
  const bool staysInForm =
      to ? to != form && IsChild(form, to) : GetActiveWindow() == form && !IsIconic(form);
  if (staysInForm) control_.OnFocusChanged(false);
}

}  // namespace tk::win32
