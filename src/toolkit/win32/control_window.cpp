#include "toolkit/win32/control_window.h"

#include <windowsx.h>

#include "toolkit/win32/form_window.h"

namespace tk::win32 {

namespace {

std::int16_t KeyboardShiftState() {
  std::int16_t shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= kShiftBit;
  if (GetKeyState(VK_CONTROL) < 0) shift |= kCtrlBit;
  if (GetKeyState(VK_MENU) < 0) shift |= kAltBit;
  return shift;
}

bool TakesFocus(ControlKind kind) {
  return kind == ControlKind::kTextBox || kind == ControlKind::kCommandButton ||
         kind == ControlKind::kOptionButton;
}

bool IsInside(HWND container, HWND window) {
  return window && (window == container || IsChild(container, window));
}

struct MouseButton {
  std::int16_t button;
  UINT downMessage;
  WPARAM keyBit;
};

MouseButton PressedButton(UINT message) {
  switch (message) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      return {kRightButton, WM_RBUTTONDOWN, MK_RBUTTON};
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      return {kMiddleButton, WM_MBUTTONDOWN, MK_MBUTTON};
    default:
      return {kLeftButton, WM_LBUTTONDOWN, MK_LBUTTON};
  }
}

}  // namespace

ControlWindow::ControlWindow(FormWindow& form, Control& control, HWND window)
    : form_(form), control_(control), window_(window) {
  const ControlSpec& spec = control.Spec();
  if (auto* box = dynamic_cast<TextBox*>(&control)) {
    customColors_ = true;
    fore_ = box->ForeColor();
    back_ = box->BackColor();
  } else if (spec.foreColor || spec.backColor) {
    customColors_ = true;
    fore_ = spec.foreColor.value_or(GetSysColor(COLOR_BTNTEXT));
    back_ = spec.backColor.value_or(GetSysColor(COLOR_BTNFACE));
  }
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  original_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlWindow::Proc)));
  if (auto* option = dynamic_cast<OptionButton*>(&control)) {
    SendMessageW(window_, BM_SETCHECK, option->Value() ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

ControlWindow::~ControlWindow() {
  if (window_ && IsWindow(window_)) {
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  }
}

ControlWindow* ControlWindow::FromHandle(HWND window) {
  if (!window ||
      GetWindowLongPtrW(window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&ControlWindow::Proc)) {
    return nullptr;
  }
  return reinterpret_cast<ControlWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void ControlWindow::SetText(const std::u16string& text) {
  if (!window_) return;
  // The native EN_CHANGE of a code set is not the user's edit: TextBox has raised Change already.
  settingText_ = true;
  SetWindowTextW(window_, WidePtr(text));
  settingText_ = false;
  if (Kind() == ControlKind::kTextBox) SendMessageW(window_, EM_SETSEL, 0, 0);
  if (Kind() == ControlKind::kLabel && control_.Spec().autoSize) FitToContent();
}

void ControlWindow::SetEnabled(bool enabled) {
  if (window_) EnableWindow(window_, enabled);
}

void ControlWindow::SetFocus() {
  // A form that is not shown yet cannot take the focus.
  if (window_ && IsWindowVisible(form_.Handle())) ::SetFocus(window_);
}

void ControlWindow::SetChecked(bool checked) {
  if (!window_) return;
  SendMessageW(window_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  form_.OnOptionChecked(*this);
}

void ControlWindow::SetColors(Color fore, Color back) {
  customColors_ = true;
  fore_ = fore;
  back_ = back;
  brush_.reset();
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

int ControlWindow::SelStart() const {
  if (!window_ || Kind() != ControlKind::kTextBox) return 0;
  DWORD start = 0;
  SendMessageW(window_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  return static_cast<int>(start);
}

void ControlWindow::SetSelStart(int position) {
  if (!window_ || Kind() != ControlKind::kTextBox) return;
  SendMessageW(window_, EM_SETSEL, position, position);
  SendMessageW(window_, EM_SCROLLCARET, 0, 0);
}

void ControlWindow::FitToContent() {
  if (!window_) return;
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE));
  RECT content{0, 0, 0, 0};
  if (Kind() == ControlKind::kPictureBox) {
    content.right = content.bottom = form_.PictureIconSize();
  } else {
    WindowDc dc(window_);
    Selected font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(window_, WM_GETFONT, 0, 0)));
    const std::u16string caption = WindowText(window_);
    // DrawText measures the caption as the static shows it, without the access-key mark.
    DrawTextW(dc.Get(), WidePtr(caption), static_cast<int>(caption.size()), &content,
              DT_CALCRECT | DT_SINGLELINE | DT_LEFT);
  }
  AdjustWindowRectEx(&content, style, FALSE, exStyle);
  SetWindowPos(window_, nullptr, 0, 0, content.right - content.left, content.bottom - content.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HBRUSH ControlWindow::OnCtlColor(HDC dc) {
  if (!customColors_) return nullptr;
  const bool greyed = Kind() == ControlKind::kTextBox && !IsWindowEnabled(window_);
  SetTextColor(dc, greyed ? GetSysColor(COLOR_GRAYTEXT) : fore_);
  SetBkColor(dc, back_);
  if (!brush_) brush_.reset(CreateSolidBrush(back_));
  return brush_.get();
}

void ControlWindow::OnCommand(UINT code) {
  if (!window_ || !form_.Reporting()) return;
  switch (Kind()) {
    case ControlKind::kTextBox:
      if (code == EN_CHANGE && !settingText_) {
        static_cast<TextBox&>(control_).OnUserEdit(WindowText(window_));
      }
      break;
    case ControlKind::kCommandButton:
      if (code == BN_CLICKED) static_cast<CommandButton&>(control_).OnClick();
      break;
    case ControlKind::kOptionButton:
      // Also sent when an option takes the focus unchecked (arrow keys): that selects it too.
      if (code == BN_CLICKED) static_cast<OptionButton&>(control_).OnUserSelect();
      break;
    default:
      break;
  }
}

void ControlWindow::OnGainedFocus() {
  if (!form_.Reporting() || !TakesFocus(Kind())) return;
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
  if (!form_.Reporting() || !TakesFocus(Kind())) return;
  if (control_.Parent().Focused() != &control_) return;
  // Another window taking the activation (a message box, another program) leaves the form's
  // focused control as it is, to get the focus back when the form is activated again.
  const HWND form = form_.Handle();
  const bool staysInForm = to ? IsInside(form, to) : GetActiveWindow() == form;
  if (staysInForm) control_.OnFocusChanged(false);
}

void ControlWindow::OnMouseDown(std::int16_t button, WPARAM keys, LPARAM position) {
  if (!window_ || !form_.Reporting()) return;
  std::int16_t shift = 0;
  if (keys & MK_SHIFT) shift |= kShiftBit;
  if (keys & MK_CONTROL) shift |= kCtrlBit;
  const int dpi = form_.Dpi();
  const auto x = static_cast<float>(PixelsToTwips(GET_X_LPARAM(position), dpi));
  const auto y = static_cast<float>(PixelsToTwips(GET_Y_LPARAM(position), dpi));
  static_cast<CommandButton&>(control_).OnMouseDown(button, shift, x, y);
}

LRESULT ControlWindow::AdjustDialogCode(LRESULT code, LPARAM lParam) const {
  if (Kind() == ControlKind::kTextBox && control_.Spec().multiLine && lParam) {
    // A multi-line edit wants every key; Tab and Esc (and Enter, when there is a default button)
    // stay with the dialog, as in a single-line field.
    const MSG& key = *reinterpret_cast<const MSG*>(lParam);
    if (key.message == WM_KEYDOWN && (key.wParam == VK_TAB || key.wParam == VK_ESCAPE ||
                                      (key.wParam == VK_RETURN && form_.HasDefaultButton()))) {
      code &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB);
    }
  }
  return code;
}

LRESULT ControlWindow::CallOriginal(UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(original_, window_, message, wParam, lParam);
}

LRESULT CALLBACK ControlWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<ControlWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  try {
    return self->Handle(message, wParam, lParam);
  } catch (...) {
    ReportSwallowedException("control window procedure");
    return 0;
  }
}

LRESULT ControlWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  const ControlKind kind = Kind();
  switch (message) {
    case WM_SETFOCUS: {
      const LRESULT result = CallOriginal(message, wParam, lParam);
      OnGainedFocus();
      return result;
    }
    case WM_KILLFOCUS: {
      const LRESULT result = CallOriginal(message, wParam, lParam);
      OnLostFocus(reinterpret_cast<HWND>(wParam));
      return result;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: {
      if (kind != ControlKind::kCommandButton) break;
      const MouseButton pressed = PressedButton(message);
      // A fast second press is a press like the first, not a double click.
      const LRESULT result = CallOriginal(pressed.downMessage, wParam, lParam);
      // A click by keyboard (an access key, BM_CLICK) fakes a press with no button held.
      if (wParam & pressed.keyBit) OnMouseDown(pressed.button, wParam, lParam);
      return result;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      // Keys with Alt held come as system keys; a field hears them like the others.
      if (kind == ControlKind::kTextBox && form_.Reporting()) {
        static_cast<TextBox&>(control_).OnKeyDown(static_cast<std::int16_t>(wParam),
                                                  KeyboardShiftState());
        if (!window_) return 0;
      }
      break;
    case WM_GETDLGCODE:
      return AdjustDialogCode(CallOriginal(message, wParam, lParam), lParam);
    case BM_SETSTYLE:
      if (kind == ControlKind::kCommandButton) {
        // The dialog manager makes the focused button the default, which would then answer
        // Enter; only the form's own default button may.
        const WPARAM type = control_.Spec().defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        wParam = (wParam & ~static_cast<WPARAM>(BS_TYPEMASK)) | type;
      }
      break;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      // A frame passes its options' notifications on to the form.
      if (kind == ControlKind::kFrame) return SendMessageW(form_.Handle(), message, wParam, lParam);
      break;
    case WM_PAINT:
      if (kind == ControlKind::kFrame && WindowText(window_).empty()) {
        // A group box keeps room for a caption above its edge even without one; a frame without a
        // caption has its edge on its bounds, so that edges placed outside the form stay hidden.
        PAINTSTRUCT paint{};
        if (const HDC dc = BeginPaint(window_, &paint)) {
          RECT bounds{};
          GetClientRect(window_, &bounds);
          DrawEdge(dc, &bounds, EDGE_ETCHED, BF_RECT);
          form_.DrawLines(dc, control_.Name());
          EndPaint(window_, &paint);
        }
        return 0;
      }
      if (kind == ControlKind::kFrame) {
        const LRESULT result = CallOriginal(message, wParam, lParam);
        WindowDc dc(window_);
        form_.DrawLines(dc.Get(), control_.Name());
        return result;
      }
      break;
    case WM_NCDESTROY: {
      const HWND window = window_;
      const WNDPROC original = original_;
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      window_ = nullptr;
      return CallWindowProcW(original, window, message, wParam, lParam);
    }
    default:
      break;
  }
  return CallOriginal(message, wParam, lParam);
}

}  // namespace tk::win32
