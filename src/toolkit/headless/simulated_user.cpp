// What the user does to the headless backend's windows: clicks, presses, keys, typing, pasting,
// menus, closing and dropping files, with the keyboard handling of a Win32 dialog.

#include <algorithm>

#include "toolkit/headless/headless_backend.h"
#include "toolkit/virtual_keys.h"

namespace tk::headless {

namespace {

char16_t Upper(char16_t c) { return (c >= u'a' && c <= u'z') ? c - u'a' + u'A' : c; }

// The character a plain key types, as TranslateMessage would make it; 0 for other keys.
char16_t TypedBy(int virtualKey, std::int16_t shift) {
  if (virtualKey == kVkSpace) return u' ';
  if (virtualKey >= '0' && virtualKey <= '9') return static_cast<char16_t>(virtualKey);
  if (virtualKey >= 'A' && virtualKey <= 'Z') {
    return static_cast<char16_t>((shift & kShiftBit) ? virtualKey : virtualKey - 'A' + 'a');
  }
  return 0;
}

bool HasSubItems(const Form& form, const MenuItem& item) {
  return std::ranges::any_of(
      form.Menus(), [&](const auto& other) { return other->Spec().parent == item.Name(); });
}

}  // namespace

bool HeadlessBackend::AcceptsInput(const Control& control) const {
  const HeadlessControlPeer* peer = PeerOf(control);
  if (!peer || !peer->Enabled()) return false;
  const HeadlessFormPeer& form = peer->Window();
  return form.Visible() && form.Enabled() && !form.Destroyed();
}

HeadlessControlPeer* HeadlessBackend::FocusedTextBox() const {
  if (!active_ || !active_->Enabled() || !active_->Focus()) return nullptr;
  return active_->Focus()->IsTextBox() ? active_->Focus() : nullptr;
}

void HeadlessBackend::UserClick(Control& control, std::int16_t shift) {
  if (!AcceptsInput(control)) return;
  openedMenu_ = nullptr;
  HeadlessControlPeer& peer = *PeerOf(control);
  HeadlessFormPeer& form = peer.Window();
  Activate(form);
  switch (control.Spec().kind) {
    case ControlKind::kCommandButton: {
      // The button takes the focus on the press, so the control losing it hears first.
      form.MoveFocus(&peer, false);
      auto& button = static_cast<CommandButton&>(control);
      const float x = control.Spec().width / 2.0f, y = control.Spec().height / 2.0f;
      if (AcceptsInput(control)) button.OnMouseDown(kLeftButton, shift, x, y);
      if (AcceptsInput(control)) button.OnClick();
      break;
    }
    case ControlKind::kOptionButton:
      form.MoveFocus(&peer, false);
      if (AcceptsInput(control)) static_cast<OptionButton&>(control).OnUserSelect();
      break;
    case ControlKind::kTextBox: {
      form.MoveFocus(&peer, false);
      const int end = static_cast<int>(peer.Text().size());
      peer.Select(end, end);
      break;
    }
    default:
      break;
  }
}

void HeadlessBackend::UserPress(Control& control, std::int16_t button, std::int16_t shift) {
  if (button == kLeftButton) {
    UserClick(control, shift);
    return;
  }
  if (!AcceptsInput(control) || control.Spec().kind != ControlKind::kCommandButton) return;
  static_cast<CommandButton&>(control).OnMouseDown(button, shift, control.Spec().width / 2.0f,
                                                   control.Spec().height / 2.0f);
}

void HeadlessBackend::KeyboardClick(Control& control) {
  if (!AcceptsInput(control)) return;
  openedMenu_ = nullptr;
  HeadlessControlPeer& peer = *PeerOf(control);
  peer.Window().MoveFocus(&peer, false);
  if (!AcceptsInput(control)) return;
  if (control.Spec().kind == ControlKind::kCommandButton) {
    static_cast<CommandButton&>(control).OnClick();
  } else if (control.Spec().kind == ControlKind::kOptionButton) {
    static_cast<OptionButton&>(control).OnUserSelect();
  }
}

void HeadlessBackend::UserType(char16_t character) {
  if (!active_ || !active_->Enabled()) return;
  if (openedMenu_) {
    UserKey(Upper(character), 0);
    return;
  }
  if (HeadlessControlPeer* box = FocusedTextBox()) {
    box->ReplaceSelection(std::u16string_view(&character, 1));
    return;
  }
  // A dialog treats a character typed on anything but an edit as an access key.
  active_->ActivateAccessKey(Upper(character));
}

void HeadlessBackend::UserKey(int virtualKey, std::int16_t shift) {
  if (!active_ || !active_->Enabled()) return;
  HeadlessFormPeer& form = *active_;
  const Form& owner = form.Owner();
  const bool ctrl = (shift & kCtrlBit) != 0, alt = (shift & kAltBit) != 0;

  if (openedMenu_) {
    const MenuItem* opened = openedMenu_;
    openedMenu_ = nullptr;
    if (virtualKey == kVkEscape || ctrl) return;
    for (const auto& item : owner.Menus()) {
      if (item->Spec().parent == opened->Name() && !item->IsSeparator() &&
          AccessKey(item->Spec().caption) == virtualKey) {
        item->OnClick();
        return;
      }
    }
    return;
  }

  // Accelerators come first: the focused control never sees the key.
  if (ctrl && !alt && !(shift & kShiftBit)) {
    for (const auto& item : owner.Menus()) {
      if (item->Spec().shortcut != 0 && item->Spec().shortcut == virtualKey) {
        item->OnClick();
        return;
      }
    }
  }
  if (alt && !ctrl) {
    if (HeadlessControlPeer* box = FocusedTextBox()) {
      box->Owner().OnKeyDown(static_cast<std::int16_t>(virtualKey), shift);
      if (form.Destroyed() || active_ != &form) return;
    }
    if (form.ActivateAccessKey(static_cast<char16_t>(virtualKey))) return;
    for (const auto& item : owner.Menus()) {
      if (!item->Spec().parent.empty() || item->IsSeparator() ||
          AccessKey(item->Spec().caption) != virtualKey) {
        continue;
      }
      if (HasSubItems(owner, *item)) {
        openedMenu_ = item.get();
      } else {
        item->OnClick();
      }
      return;
    }
    return;
  }

  HeadlessControlPeer* focus = form.Focus();
  switch (virtualKey) {
    case kVkTab:
      if (!ctrl) {
        form.MoveFocus(form.NextTabStop(focus ? &focus->Owner() : nullptr, !(shift & kShiftBit)),
                       true);
      }
      return;
    case kVkReturn:
    case kVkEscape:
      for (const auto& control : owner.Controls()) {
        const bool answers =
            virtualKey == kVkReturn ? control->Spec().defaultButton : control->Spec().cancelButton;
        if (answers && control->Spec().kind == ControlKind::kCommandButton &&
            AcceptsInput(*control)) {
          static_cast<CommandButton&>(*control).OnClick();
          return;
        }
      }
      return;
    default:
      break;
  }

  // Other keys reach a focused button, the arrows excepted: the dialog moves the focus with them.
  if (focus && focus->Owner().Spec().kind == ControlKind::kCommandButton &&
      (virtualKey < kVkLeft || virtualKey > kVkDown)) {
    focus->Owner().OnKeyDown(static_cast<std::int16_t>(virtualKey), shift);
    // A handler that took the focus away leaves the button no key to click on.
    if (form.Destroyed() || form.Focus() != focus) return;
  }
  if (virtualKey == kVkSpace && focus && !focus->IsTextBox()) {
    KeyboardClick(focus->Owner());
    return;
  }
  if (!focus || !focus->IsTextBox()) {
    if (!ctrl) {
      if (const char16_t typed = TypedBy(virtualKey, shift)) form.ActivateAccessKey(Upper(typed));
    }
    return;
  }
  focus->Owner().OnKeyDown(static_cast<std::int16_t>(virtualKey), shift);
  // The key still reaches the edit it was sent to, even when the handler moved the focus away.
  if (form.Destroyed()) return;
  if (const char16_t typed = ctrl ? 0 : TypedBy(virtualKey, shift)) {
    focus->ReplaceSelection(std::u16string_view(&typed, 1));
  } else {
    focus->EditKey(virtualKey, shift);
  }
}

void HeadlessBackend::UserPaste(std::u16string_view text) {
  if (HeadlessControlPeer* box = FocusedTextBox()) box->ReplaceSelection(text);
}

void HeadlessBackend::UserSelectAll() {
  if (HeadlessControlPeer* box = FocusedTextBox()) box->SelectAll();
}

void HeadlessBackend::UserChooseMenu(MenuItem& item) {
  openedMenu_ = nullptr;
  for (HeadlessFormPeer* form : forms_) {
    const Form& owner = form->Owner();
    const bool owns =
        std::ranges::any_of(owner.Menus(), [&](const auto& menu) { return menu.get() == &item; });
    if (!owns) continue;
    if (!form->Visible() || !form->Enabled()) return;
    Activate(*form);
    if (HasSubItems(owner, item)) {
      openedMenu_ = &item;
    } else {
      item.OnClick();
    }
    return;
  }
}

void HeadlessBackend::UserClose(Form& form, std::int16_t unloadMode) {
  HeadlessFormPeer* peer = PeerOf(form);
  if (!peer || peer->Destroyed()) return;
  // A disabled window's close box does nothing; the end of the session reaches every window.
  if (unloadMode == kUnloadByCloseBox && (!peer->Visible() || !peer->Enabled())) return;
  openedMenu_ = nullptr;
  form.OnCloseRequest(unloadMode);
}

// A drag from the desktop reaches a disabled window too (under Wine): the form decides.
void HeadlessBackend::UserDropFile(Form& form, const std::u16string& path) {
  const HeadlessFormPeer* peer = PeerOf(form);
  if (!peer || peer->Destroyed() || !peer->Visible()) return;
  form.OnFileDropped(path);
}

}  // namespace tk::headless
