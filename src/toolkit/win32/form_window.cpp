#include "toolkit/win32/form_window.h"

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

// The two shell32 functions a drop needs. shell32 drags much else in at start (see the start-up
// measurements), so it is loaded on the first drop and stays loaded, as an import would.
struct DropFunctions {
  UINT(WINAPI* queryFile)(HDROP, UINT, LPWSTR, UINT) = nullptr;
  void(WINAPI* finish)(HDROP) = nullptr;
};

const DropFunctions& Shell32Drop() {
  static const DropFunctions functions = [] {
    DropFunctions found;
    if (const HMODULE shell32 = LoadLibraryW(L"shell32.dll")) {
      found.queryFile = reinterpret_cast<decltype(found.queryFile)>(
          reinterpret_cast<void*>(GetProcAddress(shell32, "DragQueryFileW")));
      found.finish = reinterpret_cast<decltype(found.finish)>(
          reinterpret_cast<void*>(GetProcAddress(shell32, "DragFinish")));
    }
    return found;
  }();
  return functions;
}

}  // namespace

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
  if (form_.FileDropped) exStyle |= WS_EX_ACCEPTFILES;

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
    // Not shared: LoadImage shares icons of the system's standard sizes only, and this one grows
    // with the DPI (the resource's 48-pixel image at 144 DPI).
    const int size = PictureIconSize();
    if (!pictureIcon_) {
      pictureIcon_.reset(static_cast<HICON>(LoadImageW(
          ProgramInstance(), MAKEINTRESOURCEW(kProgramIconId), IMAGE_ICON, size, size, 0)));
    }
    const HICON icon = pictureIcon_ ? pictureIcon_.get() : ProgramIcon(size);
    SendMessageW(window, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
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

void FormWindow::OnDropFiles(WPARAM drop) {
  const auto files = reinterpret_cast<HDROP>(drop);
  const DropFunctions& shell = Shell32Drop();
  if (!shell.queryFile || !shell.finish) return;
  std::wstring path(shell.queryFile(files, 0, nullptr, 0), L'\0');
  if (!path.empty()) {
    path.resize(shell.queryFile(files, 0, path.data(), static_cast<UINT>(path.size() + 1)));
  }
  // Released before the program acts on it: the handler may show dialogs.
  shell.finish(files);
  if (!path.empty() && Reporting()) form_.OnFileDropped(FromWide(path));
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
    case WM_DROPFILES:
      OnDropFiles(wParam);
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
