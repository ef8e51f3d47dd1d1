#include "toolkit/win32/form_window.h"

#include "toolkit/win32/program_icon.h"
#include "toolkit/win32/win32_backend.h"
#include "toolkit/win32/windows_calls.h"

namespace tk::win32 {

namespace {

// A close request handed back to the form once the event that made it wait has returned.
constexpr UINT kCloseRequest = WM_APP + 1;

}  // namespace

FormWindow::FormWindow(Win32Backend& backend, Form& form) : backend_(backend), form_(form) {
  backend_.Attach(*this);
}

bool FormWindow::Build() {
  if (!CreateWindowFor(backend_.OwnerWindow())) return false;
  controls_.assign(form_.Controls().size(), nullptr);
  CreateControls({}, window_);
  return complete_;
}

FormWindow::~FormWindow() {
  if (window_) {
    destroying_ = true;
    DestroyWindow(window_);
  }
  backend_.Detach(*this);
}

ATOM FormWindow::WindowClass() {
  // Dialog extra bytes, so that the dialog manager can run on these windows. The icons are at the
  // system's DPI; a window at another shows icons of its own. They are the class's for the life of
  // the program.
  static IconHandle bigIcon, smallIcon;
  static const ATOM atom = WideOrAnsi().RegisterFormClass(
      &FormWindow::Proc, DLGWINDOWEXTRA,
      reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)),
      ProgramIcon(GetSystemMetrics(SM_CXICON), bigIcon),
      ProgramIcon(GetSystemMetrics(SM_CXSMICON), smallIcon), "TintmarkForm");
  return atom;
}

FormWindow* FormWindow::FromHandle(HWND window) {
  if (!window || WideOrAnsi().ClassAtom(window) != WindowClass()) return nullptr;
  return reinterpret_cast<FormWindow*>(WideOrAnsi().Long(window, GWLP_USERDATA));
}

namespace {

BOOL CALLBACK PassOn(HWND child, LPARAM message) {
  const MSG& change = *reinterpret_cast<const MSG*>(message);
  WideOrAnsi().Send(child, change.message, change.wParam, change.lParam);
  return TRUE;
}

}  // namespace

void FormWindow::Show() {
  if (!window_) return;
  ShowWindow(window_, SW_SHOW);
  // An Activate handler may have unloaded the form already.
  if (!Reporting()) return;
  if (GetActiveWindow() != window_ && IsWindowEnabled(window_)) SetActiveWindow(window_);
  if (!Reporting()) return;
  const HWND focus = GetFocus();
  if (GetActiveWindow() == window_ && (!focus || focus == window_ || !IsChild(window_, focus))) {
    FocusFirstTabStop();
  }
  if (!Reporting()) return;
  UpdateWindow(window_);
  if (form_.IsModal()) backend_.OnModalShown(form_);
}

void FormWindow::FocusFirstTabStop() {
  // Through the dialog manager, as when the dialog itself takes the focus.
  if (const HWND first = GetNextDlgTabItem(window_, nullptr, FALSE)) {
    WideOrAnsi().Send(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
  }
}

void FormWindow::SetEnabled(bool enabled) {
  if (window_) EnableWindow(window_, enabled);
}

void FormWindow::Destroy() {
  if (!window_ || destroying_) return;
  destroying_ = true;
  const HWND owner = GetWindow(window_, GW_OWNER);
  const bool wasActive = GetActiveWindow() == window_;
  DestroyWindow(window_);
  // Windows hands the activation to the next window in z-order; the owner is the one meant.
  if (wasActive && owner && IsWindow(owner) && IsWindowEnabled(owner) && !GetActiveWindow()) {
    SetActiveWindow(owner);
  }
}

void FormWindow::PostCloseRequest(std::int16_t unloadMode) {
  if (window_) WideOrAnsi().Post(window_, kCloseRequest, static_cast<WPARAM>(unloadMode), 0);
}

void FormWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  if (const auto from = reinterpret_cast<HWND>(lParam)) {
    ControlWindow* control = ControlById(id);
    if (control && control->Handle() == from) control->OnCommand(HIWORD(wParam));
    return;
  }
  if (!Reporting()) return;
  // Enter and Esc arrive as IDOK and IDCANCEL with no control; they answer only the buttons the
  // form names for them.
  if (id == IDOK || id == IDCANCEL) {
    if (PushButtonWindow* answering = id == IDOK ? defaultButton_ : cancelButton_) {
      answering->Click();
    }
  } else if (MenuItem* item = menu_.ItemOf(id)) {
    item->OnClick();
  }
}

void FormWindow::OnDropFiles(WPARAM drop) {
  // Released before the program acts on it: the handler may show dialogs.
  const std::u16string path = WideOrAnsi().TakeDroppedFile(reinterpret_cast<HDROP>(drop));
  if (!path.empty() && Reporting()) form_.OnFileDropped(path);
}

// Controls take the scheme's colours as they paint, so a new scheme, or high contrast turned on
// or off, needs the window painted afresh; the common controls also keep colours of their own. A
// new size of text or of the menu font (the non-client metrics) makes the fonts and the menu bar's
// height anew: the form is laid out again at its DPI.
void FormWindow::OnSchemeChanged(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETTINGCHANGE && wParam == SPI_SETNONCLIENTMETRICS) {
    LayOut(dpi_);
  } else if (message == WM_SETTINGCHANGE && wParam != SPI_SETHIGHCONTRAST) {
    return;
  }
  if (message == WM_SYSCOLORCHANGE) {
    const MSG change{window_, message, wParam, lParam, 0, {}};
    EnumChildWindows(window_, &PassOn, reinterpret_cast<LPARAM>(&change));
  }
  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void FormWindow::DrawLines(HDC dc, std::string_view container) const {
  for (const LineShape& line : lines_) {
    if (line.Container() == container) line.Draw(dc, dpi_);
  }
}

void FormWindow::Paint() {
  PAINTSTRUCT paint{};
  const HDC dc = BeginPaint(window_, &paint);
  if (!dc) return;
  // Lines lie under the controls; frames draw only their edge and let them show through. The
  // form's own table of its children, rather than asking Windows for them one by one.
  for (const ControlWindow* control : controls_) {
    if (!control || !control->Owner().Spec().container.empty() || control->SeeThrough() ||
        !IsWindowVisible(control->Handle())) {
      continue;
    }
    RECT rect{};
    GetWindowRect(control->Handle(), &rect);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&rect), 2);
    ExcludeClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  }
  DrawLines(dc, {});
  EndPaint(window_, &paint);
}

LRESULT CALLBACK FormWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  FormWindow* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    WideOrAnsi().SetLong(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<FormWindow*>(WideOrAnsi().Long(window, GWLP_USERDATA));
  }
  if (!self) return WideOrAnsi().DialogDefault(window, message, wParam, lParam);
  try {
    return self->Handle(message, wParam, lParam);
  } catch (...) {
    self->backend_.OnUncaughtException();
    return 0;
  }
}

LRESULT FormWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(wParam, lParam);
      return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (ControlWindow* control = ControlFor(reinterpret_cast<HWND>(lParam))) {
        if (HBRUSH brush = control->OnCtlColor(reinterpret_cast<HDC>(wParam))) {
          return reinterpret_cast<LRESULT>(brush);
        }
      }
      [[fallthrough]];
    case WM_CTLCOLORDLG:
    case WM_ERASEBKGND:
      // No dialog texture is asked for, so the dialog manager would answer with the window's
      // defaults all the same, after looking for a theme on every control's paint.
      return WideOrAnsi().WindowDefault(window_, message, wParam, lParam);
    case DM_GETDEFID:
      return defaultButton_ && defaultButton_->Handle()
                 ? MAKELRESULT(GetDlgCtrlID(defaultButton_->Handle()), DC_HASDEFID)
                 : 0;
    case DM_SETDEFID:
      return TRUE;
    case WM_ACTIVATE: {
      // The dialog manager first puts the focus back where it was; Activate handlers then see it.
      const LRESULT result = WideOrAnsi().DialogDefault(window_, message, wParam, lParam);
      if (LOWORD(wParam) != WA_INACTIVE && Reporting()) {
        backend_.OnActivated(*this);
        form_.OnActivated();
      }
      return result;
    }
    case WM_SETFOCUS:
      // Back from the taskbar, say: to the control that had the focus, which the dialog manager
      // did not save when the window was minimized.
      if (const ControlWindow* last = form_.Focused() ? WindowOf(*form_.Focused()) : nullptr;
          last && IsWindowEnabled(last->Handle()) && IsWindowVisible(last->Handle())) {
        ::SetFocus(last->Handle());
        return 0;
      }
      break;
    case WM_SYSCOMMAND:
      // A tool or a window manager may ask a fixed-size window to maximize all the same.
      if ((wParam & 0xFFF0) == SC_MAXIMIZE && !form_.Spec().maxButton) return 0;
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        closeFromSystemMenu_ = true;
        const HWND window = window_;
        const LRESULT result = WideOrAnsi().DialogDefault(window, message, wParam, lParam);
        closeFromSystemMenu_ = false;
        return result;
      }
      break;
    case WM_CLOSE: {
      // The close box and the system menu come through SC_CLOSE; a bare WM_CLOSE is another
      // program (the task manager) asking.
      const std::int16_t mode = closeFromSystemMenu_ ? kUnloadByCloseBox : kUnloadByTaskManager;
      closeFromSystemMenu_ = false;
      if (Reporting()) form_.OnCloseRequest(mode);
      return 0;
    }
    case WM_QUERYENDSESSION:
      // Another program or the user may still cancel: the window goes once the session ends.
      return TRUE;
    case WM_ENDSESSION:
      if (wParam && Reporting()) form_.OnCloseRequest(kUnloadBySessionEnd);
      return 0;
    case kCloseRequest:
      if (Reporting()) form_.OnCloseRequest(static_cast<std::int16_t>(wParam));
      return 0;
    case WM_GETDPISCALEDSIZE:
      // Asked before WM_DPICHANGED (Windows 10 1703 on): unanswered, its rectangle is the size
      // scaled in proportion, which the layout, not proportional, would change again.
      *reinterpret_cast<SIZE*>(lParam) = OuterSizeAt(static_cast<int>(wParam));
      return TRUE;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_DROPFILES:
      OnDropFiles(wParam);
      return 0;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
      OnSchemeChanged(message, wParam, lParam);
      break;
    case WM_NCDESTROY: {
      const HWND window = window_;
      window_ = nullptr;
      WideOrAnsi().SetLong(window, GWLP_USERDATA, 0);
      // A window destroyed inside a sent message (WM_CLOSE or WM_ENDSESSION from another thread
      // or process) is handled within GetMessage, which then waits on; a posted message wakes
      // the loop, which then sees whether a window is left. Posted to the thread (no window), it
      // reaches no window procedure.
      WideOrAnsi().Post(nullptr, WM_NULL, 0, 0);
      return WideOrAnsi().DialogDefault(window, message, wParam, lParam);
    }
    default:
      break;
  }
  return WideOrAnsi().DialogDefault(window_, message, wParam, lParam);
}

}  // namespace tk::win32
