#include "toolkit/win32/form_window.h"

#include <windowsx.h>

#include <algorithm>
#include <climits>
#include <functional>

#include "toolkit/win32/system_metrics.h"
#include "toolkit/win32/win32_backend.h"

namespace tk::win32 {

namespace {

// Control ids start above IDOK and IDCANCEL, which the dialog manager sends for Enter and Esc.
constexpr UINT kFirstControlId = 100;
constexpr UINT kFirstMenuId = 1000;
constexpr int kProgramIconId = 1;

HINSTANCE ProgramInstance() { return GetModuleHandleW(nullptr); }

HICON ProgramIcon(int size) {
  auto icon = static_cast<HICON>(LoadImageW(ProgramInstance(), MAKEINTRESOURCEW(kProgramIconId),
                                            IMAGE_ICON, size, size, LR_SHARED));
  if (!icon) {
    icon = static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(32512) /* IDI_APPLICATION */,
                                         IMAGE_ICON, size, size, LR_SHARED));
  }
  return icon;
}

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

}  // namespace

// ---------------------------------------------------------------------------------------------
// Controls

ControlWindow::ControlWindow(FormWindow& form, Control& control, HWND window)
    : form_(form), control_(control), window_(window) {
  const ControlSpec& spec = control.Spec();
  if (auto* box = dynamic_cast<TextBox*>(&control)) {
    customColours_ = true;
    fore_ = box->ForeColor();
    back_ = box->BackColor();
  } else if (spec.foreColour || spec.backColour) {
    customColours_ = true;
    fore_ = spec.foreColour.value_or(GetSysColor(COLOR_BTNTEXT));
    back_ = spec.backColour.value_or(GetSysColor(COLOR_BTNFACE));
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

void ControlWindow::SetColours(Colour fore, Colour back) {
  customColours_ = true;
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
    content.right = content.bottom = 32;
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
  if (!customColours_) return nullptr;
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
    case WM_RBUTTONDBLCLK: {
      if (kind != ControlKind::kCommandButton) break;
      // A fast second press is a press like the first, not a double click.
      const bool left = message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK;
      const LRESULT result = CallOriginal(left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, wParam, lParam);
      OnMouseDown(left ? kLeftButton : kRightButton, wParam, lParam);
      return result;
    }
    case WM_KEYDOWN:
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

// ---------------------------------------------------------------------------------------------
// Forms

FormWindow::FormWindow(Win32Backend& backend, Form& form) : backend_(backend), form_(form) {
  backend_.Attach(*this);
  CreateWindowFor(backend.OwnerWindow());
  if (!window_) return;
  controls_.assign(form_.Controls().size(), nullptr);
  CreateControls(std::string(), window_);
}

FormWindow::~FormWindow() {
  if (window_) {
    destroying_ = true;
    DestroyWindow(window_);
  }
  backend_.Detach(*this);
}

ATOM FormWindow::WindowClass() {
  static const ATOM atom = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &FormWindow::Proc;
    // Dialog extra bytes, so that DefDlgProcW can run the dialog manager on these windows.
    windowClass.cbWndExtra = DLGWINDOWEXTRA;
    windowClass.hInstance = ProgramInstance();
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512) /* IDC_ARROW */);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = L"TintmarkForm";
    return RegisterClassExW(&windowClass);
  }();
  return atom;
}

FormWindow* FormWindow::FromHandle(HWND window) {
  if (!window || GetClassLongPtrW(window, GCW_ATOM) != WindowClass()) return nullptr;
  return reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void FormWindow::CreateWindowFor(HWND owner) {
  const FormSpec& spec = form_.Spec();
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  if (spec.minButton) style |= WS_MINIMIZEBOX;
  if (spec.maxButton) style |= WS_MAXIMIZEBOX;
  DWORD exStyle = WS_EX_CONTROLPARENT;
  if (spec.border == BorderStyle::kFixedDialog) exStyle |= WS_EX_DLGMODALFRAME;

  HMENU bar = nullptr;
  BuildMenu(bar);
  const int systemDpi = SystemDpi();
  const SIZE guess = OuterSizeFor(TwipsToPixels(spec.clientWidth, systemDpi),
                                  TwipsToPixels(spec.clientHeight, systemDpi), style, exStyle,
                                  bar != nullptr, systemDpi);
  window_ = CreateWindowExW(exStyle, MAKEINTATOM(WindowClass()), WidePtr(spec.caption), style,
                            CW_USEDEFAULT, CW_USEDEFAULT, guess.cx, guess.cy, owner, bar,
                            ProgramInstance(), this);
  if (!window_) {
    if (bar) DestroyMenu(bar);
    return;
  }

  // The window's own DPI decides; a menu bar that wrapped onto two rows is measured, not assumed.
  dpi_ = DpiOf(window_);
  const int width = TwipsToPixels(spec.clientWidth, dpi_);
  const int height = TwipsToPixels(spec.clientHeight, dpi_);
  SIZE outer = OuterSizeFor(width, height, style, exStyle, bar != nullptr, dpi_);
  SetWindowPos(window_, nullptr, 0, 0, outer.cx, outer.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT client{};
  GetClientRect(window_, &client);
  if (client.right != width || client.bottom != height) {
    outer.cx += width - client.right;
    outer.cy += height - client.bottom;
    SetWindowPos(window_, nullptr, 0, 0, outer.cx, outer.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  if (spec.showsIcon) {
    SendMessageW(window_, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(ProgramIcon(GetSystemMetrics(SM_CXICON))));
    SendMessageW(window_, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(ProgramIcon(GetSystemMetrics(SM_CXSMICON))));
  }
  defaultFont_ = CreateMessageFont(dpi_);
  SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(ControlSpec{})), FALSE);
}

void FormWindow::BuildMenu(HMENU& bar) {
  const auto& menus = form_.Menus();
  if (menus.empty()) return;
  auto hasChildren = [&menus](const std::string& name) {
    return std::any_of(menus.begin(), menus.end(),
                       [&name](const auto& item) { return item->Spec().parent == name; });
  };
  std::vector<ACCEL> shortcuts;
  std::function<void(HMENU, const std::string&)> fill = [&](HMENU menu, const std::string& parent) {
    for (std::size_t i = 0; i < menus.size(); ++i) {
      const MenuSpec& spec = menus[i]->Spec();
      if (spec.parent != parent) continue;
      if (menus[i]->IsSeparator()) {
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        continue;
      }
      const auto id = static_cast<UINT>(kFirstMenuId + i);
      std::u16string text = spec.caption;
      if (spec.shortcut != 0) {
        // Text after a tab is drawn right-aligned in the menu's shortcut column.
        text += u"\tCtrl+";
        text += spec.shortcut;
        shortcuts.push_back(
            ACCEL{FVIRTKEY | FCONTROL, static_cast<WORD>(spec.shortcut), static_cast<WORD>(id)});
      }
      if (hasChildren(spec.name)) {
        MenuHandle popup(CreatePopupMenu());
        fill(popup.get(), spec.name);
        if (AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup.get()),
                        WidePtr(text))) {
          popup.release();  // now part of `menu`
        }
      } else {
        AppendMenuW(menu, MF_STRING, id, WidePtr(text));
      }
    }
  };
  MenuHandle menuBar(CreateMenu());
  if (!menuBar) return;
  fill(menuBar.get(), std::string());
  if (!shortcuts.empty()) {
    accelerators_.reset(
        CreateAcceleratorTableW(shortcuts.data(), static_cast<int>(shortcuts.size())));
  }
  bar = menuBar.release();
}

UINT FormWindow::CommandOf(const MenuItem& item) const {
  const auto& menus = form_.Menus();
  for (std::size_t i = 0; i < menus.size(); ++i) {
    if (menus[i].get() == &item) return static_cast<UINT>(kFirstMenuId + i);
  }
  return 0;
}

HFONT FormWindow::FontFor(const ControlSpec& spec) {
  if (!spec.font) {
    return defaultFont_ ? defaultFont_.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  }
  for (const auto& [font, handle] : fonts_) {
    if (font == *spec.font) return handle.get();
  }
  fonts_.emplace_back(*spec.font, CreateNamedFont(*spec.font, dpi_));
  return fonts_.back().second.get();
}

void FormWindow::CreateControls(const std::string& container, HWND parent) {
  const auto& controls = form_.Controls();
  // Win32 takes the tab order, and the field a label's access key leads to, from the z-order of
  // sibling windows, so the windows are created in tab order; a frame stands where its first
  // member does. Only frames overlap other controls, and they are transparent to paint and mouse.
  // A label that names a control further on stands right before it, so that screen readers
  // take the label as the control's name.
  std::function<long long(const Control&)> tabKey = [&](const Control& control) -> long long {
    const ControlSpec& spec = control.Spec();
    if (!spec.names.empty()) return tabKey(form_.Find(spec.names, spec.namesIndex)) - 1;
    long long key = spec.tabIndex >= 0 ? 2LL * spec.tabIndex : LLONG_MAX;
    if (spec.kind == ControlKind::kFrame) {
      for (const auto& member : controls) {
        if (member->Spec().container == control.Name()) key = std::min(key, tabKey(*member));
      }
    }
    return key;
  };
  std::vector<std::size_t> members;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const ControlSpec& spec = controls[i]->Spec();
    if (spec.container == container && spec.kind != ControlKind::kLine) members.push_back(i);
  }
  std::stable_sort(members.begin(), members.end(), [&](std::size_t a, std::size_t b) {
    return tabKey(*controls[a]) < tabKey(*controls[b]);
  });

  const std::size_t firstGroup = optionGroups_.size();
  bool previousWasOption = false;
  for (const std::size_t index : members) {
    Control& control = *controls[index];
    const ControlSpec& spec = control.Spec();
    const bool option = spec.kind == ControlKind::kOptionButton;
    // Consecutive options form one group: arrow keys move within it, Tab enters it once.
    const DWORD groupStyle = option && previousWasOption ? 0 : WS_GROUP;
    if (option && !previousWasOption) optionGroups_.emplace_back();
    previousWasOption = option;

    const HWND window = CreateControlWindow(control, parent, groupStyle,
                                            static_cast<UINT>(kFirstControlId + index));
    if (!window) continue;
    auto peer = std::make_unique<ControlWindow>(*this, control, window);
    ControlWindow* created = peer.get();
    controls_[index] = created;
    control.AttachPeer(std::move(peer));
    if (spec.autoSize &&
        (spec.kind == ControlKind::kLabel || spec.kind == ControlKind::kPictureBox)) {
      created->FitToContent();
    }
    if (option) {
      created->SetGroup(static_cast<int>(optionGroups_.size() - 1));
      optionGroups_.back().push_back(created);
    }
    if (spec.kind == ControlKind::kCommandButton) {
      if (spec.defaultButton && !defaultButton_) defaultButton_ = created;
      if (spec.cancelButton && !cancelButton_) cancelButton_ = created;
    }
    if (spec.kind == ControlKind::kFrame) CreateControls(control.Name(), window);
  }
  for (std::size_t group = firstGroup; group < optionGroups_.size(); ++group) {
    if (!optionGroups_[group].empty()) OnOptionChecked(*optionGroups_[group].front());
  }
}

HWND FormWindow::CreateControlWindow(Control& control, HWND parent, DWORD groupStyle, UINT id) {
  const ControlSpec& spec = control.Spec();
  DWORD style = WS_CHILD | WS_VISIBLE | groupStyle;
  DWORD exStyle = 0;
  const wchar_t* className = L"STATIC";
  std::u16string text = spec.caption;
  if (!control.Enabled()) style |= WS_DISABLED;
  const bool formHasDefault =
      std::any_of(form_.Spec().controls.begin(), form_.Spec().controls.end(),
                  [](const ControlSpec& other) { return other.defaultButton; });
  switch (spec.kind) {
    case ControlKind::kTextBox:
      className = L"EDIT";
      style |= WS_TABSTOP | ES_LEFT;
      // Without a default button Enter starts a new line in a multi-line field.
      style |= spec.multiLine ? ES_MULTILINE | ES_AUTOVSCROLL | (formHasDefault ? 0 : ES_WANTRETURN)
                              : ES_AUTOHSCROLL;
      exStyle |= WS_EX_CLIENTEDGE;
      text = static_cast<TextBox&>(control).Text();
      break;
    case ControlKind::kCommandButton:
      className = L"BUTTON";
      style |= WS_TABSTOP | (spec.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
      break;
    case ControlKind::kOptionButton:
      className = L"BUTTON";
      style |= BS_AUTORADIOBUTTON;
      break;
    case ControlKind::kFrame:
      className = L"BUTTON";
      style |= BS_GROUPBOX;
      // The dialog manager looks inside for tab stops and access keys.
      exStyle |= WS_EX_CONTROLPARENT;
      break;
    case ControlKind::kLabel:
      style |= spec.autoSize ? SS_LEFTNOWORDWRAP : SS_LEFT;
      text = static_cast<Label&>(control).Caption();
      break;
    case ControlKind::kPictureBox:
      // SS_CENTERIMAGE keeps the static from resizing itself, border included, to the icon.
      style |= SS_ICON | SS_CENTERIMAGE;
      if (spec.sunkenBorder) exStyle |= WS_EX_CLIENTEDGE;
      text.clear();
      break;
    case ControlKind::kLine:
      return nullptr;
  }
  const HWND window = CreateWindowExW(
      exStyle, className, WidePtr(text), style, TwipsToPixels(spec.left, dpi_),
      TwipsToPixels(spec.top, dpi_), TwipsToPixels(spec.width, dpi_),
      TwipsToPixels(spec.height, dpi_), parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
      ProgramInstance(), nullptr);
  if (!window) return nullptr;
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(spec)), FALSE);
  if (spec.kind == ControlKind::kTextBox && spec.maxLength > 0) {
    SendMessageW(window, EM_LIMITTEXT, static_cast<WPARAM>(spec.maxLength), 0);
  }
  if (spec.kind == ControlKind::kPictureBox && spec.showsIcon) {
    SendMessageW(window, STM_SETICON, reinterpret_cast<WPARAM>(ProgramIcon(32)), 0);
  }
  return window;
}

void FormWindow::OnOptionChecked(ControlWindow& option) {
  if (option.Group() < 0) return;
  // Tab enters a group of options at its selected member (the first while none is).
  const auto& group = optionGroups_[static_cast<std::size_t>(option.Group())];
  const auto checked = std::find_if(group.begin(), group.end(), [](const ControlWindow* member) {
    return member->Handle() && SendMessageW(member->Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
  });
  const ControlWindow* stop = checked != group.end() ? *checked : group.front();
  for (const ControlWindow* member : group) {
    if (!member->Handle()) continue;
    LONG_PTR style = GetWindowLongPtrW(member->Handle(), GWL_STYLE);
    style = member == stop ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
    SetWindowLongPtrW(member->Handle(), GWL_STYLE, style);
  }
}

ControlWindow* FormWindow::ControlById(UINT id) const {
  if (id < kFirstControlId || id - kFirstControlId >= controls_.size()) return nullptr;
  return controls_[id - kFirstControlId];
}

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
    SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
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

int FormWindow::Left() const {
  RECT rect{};
  if (!window_ || !GetWindowRect(window_, &rect)) return 0;
  return PixelsToTwips(rect.left, dpi_);
}

int FormWindow::Top() const {
  RECT rect{};
  if (!window_ || !GetWindowRect(window_, &rect)) return 0;
  return PixelsToTwips(rect.top, dpi_);
}

void FormWindow::Move(int left, int top) {
  if (!window_) return;
  SetWindowPos(window_, nullptr, TwipsToPixels(left, dpi_), TwipsToPixels(top, dpi_), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::ClickButton(ControlWindow* button) {
  if (!button || !button->Handle() || !IsWindowEnabled(button->Handle())) return;
  static_cast<CommandButton&>(button->Owner()).OnClick();
}

void FormWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  if (const auto from = reinterpret_cast<HWND>(lParam)) {
    if (ControlWindow* control = ControlWindow::FromHandle(from))
      control->OnCommand(HIWORD(wParam));
    return;
  }
  if (!Reporting()) return;
  // Enter and Esc arrive as IDOK and IDCANCEL with no control; they answer only the buttons the
  // form names for them.
  if (id == IDOK) {
    ClickButton(defaultButton_);
  } else if (id == IDCANCEL) {
    ClickButton(cancelButton_);
  } else if (id >= kFirstMenuId && id - kFirstMenuId < form_.Menus().size()) {
    form_.Menus()[id - kFirstMenuId]->OnClick();
  }
}

void FormWindow::DrawLines(HDC dc, const std::string& container) const {
  std::vector<const ControlSpec*> lines;
  for (const auto& control : form_.Controls()) {
    const ControlSpec& spec = control->Spec();
    if (spec.kind == ControlKind::kLine && spec.container == container) lines.push_back(&spec);
  }
  // Back to front, so that the front-most line is drawn last.
  std::stable_sort(lines.begin(), lines.end(), [](const ControlSpec* a, const ControlSpec* b) {
    return a->stacking > b->stacking;
  });
  for (const ControlSpec* line : lines) {
    PenHandle pen(CreatePen(line->insideSolid ? PS_INSIDEFRAME : PS_SOLID,
                            std::max(1, line->lineWidth), GetSysColor(line->systemColour)));
    Selected selected(dc, pen.get());
    MoveToEx(dc, TwipsToPixels(line->x1, dpi_), TwipsToPixels(line->y1, dpi_), nullptr);
    LineTo(dc, TwipsToPixels(line->x2, dpi_), TwipsToPixels(line->y2, dpi_));
  }
}

void FormWindow::Paint() {
  PAINTSTRUCT paint{};
  const HDC dc = BeginPaint(window_, &paint);
  if (!dc) return;
  // Lines lie under the controls; frames draw only their edge and let them show through.
  for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const ControlWindow* control = ControlWindow::FromHandle(child);
    if (!IsWindowVisible(child) || (control && control->Kind() == ControlKind::kFrame)) continue;
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&rect), 2);
    ExcludeClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  }
  DrawLines(dc, std::string());
  EndPaint(window_, &paint);
}

LRESULT CALLBACK FormWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  FormWindow* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  }
  if (!self) return DefDlgProcW(window, message, wParam, lParam);
  try {
    return self->Handle(message, wParam, lParam);
  } catch (...) {
    ReportSwallowedException("form window procedure");
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
      if (ControlWindow* control = ControlWindow::FromHandle(reinterpret_cast<HWND>(lParam))) {
        if (HBRUSH brush = control->OnCtlColor(reinterpret_cast<HDC>(wParam))) {
          return reinterpret_cast<LRESULT>(brush);
        }
      }
      break;
    case DM_GETDEFID:
      return defaultButton_ && defaultButton_->Handle()
                 ? MAKELRESULT(GetDlgCtrlID(defaultButton_->Handle()), DC_HASDEFID)
                 : 0;
    case DM_SETDEFID:
      return TRUE;
    case WM_ACTIVATE: {
      // The dialog manager first puts the focus back where it was; Activate handlers then see it.
      const LRESULT result = DefDlgProcW(window_, message, wParam, lParam);
      if (LOWORD(wParam) != WA_INACTIVE && Reporting()) {
        backend_.OnActivated(*this);
        form_.OnActivated();
      }
      return result;
    }
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        closeFromSystemMenu_ = true;
        const HWND window = window_;
        const LRESULT result = DefDlgProcW(window, message, wParam, lParam);
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
      if (Reporting()) form_.OnCloseRequest(kUnloadBySessionEnd);
      return form_.IsLoaded() ? FALSE : TRUE;
    case WM_ENDSESSION:
      return 0;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_NCDESTROY: {
      const HWND window = window_;
      window_ = nullptr;
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      return DefDlgProcW(window, message, wParam, lParam);
    }
    default:
      break;
  }
  return DefDlgProcW(window_, message, wParam, lParam);
}

}  // namespace tk::win32
