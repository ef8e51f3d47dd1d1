// What a form's design puts into its window: the menu bar with its shortcuts, the fonts, and the
// control windows in tab order with their option groups.

#include <algorithm>
#include <climits>
#include <functional>

#include "toolkit/win32/form_window.h"
#include "toolkit/win32/program_icon.h"
#include "toolkit/win32/system_metrics.h"

namespace tk::win32 {

namespace {

// Control ids start above IDOK and IDCANCEL, which the dialog manager sends for Enter and Esc.
constexpr UINT kFirstControlId = 100;
constexpr UINT kFirstMenuId = 1000;

}  // namespace

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
      pictureIcon_.reset(LoadOwnProgramIcon(size));
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

MenuItem* FormWindow::MenuById(UINT id) const {
  const auto& menus = form_.Menus();
  if (id < kFirstMenuId || id - kFirstMenuId >= menus.size()) return nullptr;
  return menus[id - kFirstMenuId].get();
}

}  // namespace tk::win32
