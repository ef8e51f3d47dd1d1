#include "toolkit/headless/headless_backend.h"

#include <algorithm>
#include <cstdlib>

namespace tk::headless {

namespace {

constexpr int kVkBack = 0x08, kVkTab = 0x09, kVkReturn = 0x0D, kVkEscape = 0x1B, kVkSpace = 0x20,
              kVkEnd = 0x23, kVkHome = 0x24, kVkLeft = 0x25, kVkUp = 0x26, kVkRight = 0x27,
              kVkDown = 0x28, kVkDelete = 0x2E;

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

std::u16string InitialText(const Control& control) {
  if (auto* box = dynamic_cast<const TextBox*>(&control)) return box->Text();
  if (auto* label = dynamic_cast<const Label*>(&control)) return label->Caption();
  return control.Spec().caption;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Controls

HeadlessControlPeer::HeadlessControlPeer(HeadlessFormPeer& form, Control& control)
    : form_(form),
      control_(control),
      text_(InitialText(control)),
      enabled_(control.Enabled()),
      checked_(false),
      fore_(control.Spec().foreColour.value_or(0x000000)),
      back_(control.Spec().backColour.value_or(0xFFFFFF)) {
  if (auto* option = dynamic_cast<OptionButton*>(&control)) checked_ = option->Value();
  if (auto* box = dynamic_cast<TextBox*>(&control)) {
    fore_ = box->ForeColor();
    back_ = box->BackColor();
  }
}

void HeadlessControlPeer::SetText(const std::u16string& text) {
  text_ = text;
  anchor_ = caret_ = 0;
}

void HeadlessControlPeer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (!enabled) form_.DropFocus(*this);
}

void HeadlessControlPeer::SetFocus() {
  if (enabled_) form_.MoveFocus(this, false);
}

void HeadlessControlPeer::SetChecked(bool checked) { checked_ = checked; }

void HeadlessControlPeer::SetColours(Colour fore, Colour back) {
  fore_ = fore;
  back_ = back;
}

int HeadlessControlPeer::SelStart() const { return std::min(anchor_, caret_); }

void HeadlessControlPeer::SetSelStart(int position) { Select(position, position); }

int HeadlessControlPeer::SelLength() const { return std::abs(caret_ - anchor_); }

void HeadlessControlPeer::Select(int anchor, int caret) {
  const int size = static_cast<int>(text_.size());
  anchor_ = std::clamp(anchor, 0, size);
  caret_ = std::clamp(caret, 0, size);
}

void HeadlessControlPeer::ReplaceSelection(std::u16string_view text) {
  const std::size_t start = SelStart();
  const std::size_t selected = SelLength();
  const std::size_t kept = text_.size() - selected;
  const int limit = control_.Spec().maxLength;
  if (limit > 0 && kept + text.size() > static_cast<std::size_t>(limit)) {
    text = text.substr(0, kept < static_cast<std::size_t>(limit) ? limit - kept : 0);
  }
  if (text.empty() && selected == 0) return;
  std::u16string edited = text_;
  edited.replace(start, selected, text);
  UserEdited(std::move(edited), static_cast<int>(start + text.size()));
}

void HeadlessControlPeer::EditKey(int virtualKey, std::int16_t shift) {
  const int size = static_cast<int>(text_.size());
  const bool extend = (shift & kShiftBit) != 0;
  auto moveTo = [&](int caret) { Select(extend ? anchor_ : caret, caret); };
  switch (virtualKey) {
    case kVkLeft:
    case kVkUp:
      moveTo(std::max(caret_ - 1, 0));
      break;
    case kVkRight:
    case kVkDown:
      moveTo(std::min(caret_ + 1, size));
      break;
    case kVkHome:
      moveTo(0);
      break;
    case kVkEnd:
      moveTo(size);
      break;
    case kVkBack:
    case kVkDelete: {
      int from = SelStart();
      int count = SelLength();
      if (count == 0 && virtualKey == kVkBack && caret_ > 0) {
        from = caret_ - 1;
        count = 1;
      } else if (count == 0 && virtualKey == kVkDelete && caret_ < size) {
        from = caret_;
        count = 1;
      }
      if (count == 0) return;
      std::u16string edited = text_;
      edited.erase(from, count);
      UserEdited(std::move(edited), from);
      break;
    }
    default:
      break;
  }
}

void HeadlessControlPeer::UserEdited(std::u16string text, int caret) {
  text_ = text;
  anchor_ = caret_ = caret;
  static_cast<TextBox&>(control_).OnUserEdit(text);
}

// ---------------------------------------------------------------------------------------------
// Forms

HeadlessFormPeer::HeadlessFormPeer(HeadlessBackend& backend, Form& form)
    : backend_(backend), form_(form) {}

HeadlessFormPeer::~HeadlessFormPeer() { backend_.Forget(*this); }

void HeadlessFormPeer::Show() {
  if (destroyed_) return;
  visible_ = true;
  backend_.OnShown(*this);
}

void HeadlessFormPeer::SetEnabled(bool enabled) { enabled_ = enabled; }

void HeadlessFormPeer::Destroy() {
  if (destroyed_) return;
  destroyed_ = true;
  visible_ = false;
  focus_ = nullptr;
  backend_.OnDestroyed(*this);
}

void HeadlessFormPeer::Move(int left, int top) {
  left_ = left;
  top_ = top;
}

void HeadlessFormPeer::MoveFocus(HeadlessControlPeer* to, bool byKeyboard) {
  if (!to || !to->Enabled()) return;
  if (byKeyboard && to->IsTextBox()) to->SelectAll();
  if (to == focus_) return;
  HeadlessControlPeer* from = focus_;
  // As in Win32, the focus has moved before the losing control hears of it; a handler that moves
  // it on again wins, and the control first aimed at then hears nothing.
  focus_ = to;
  if (from) from->Owner().OnFocusChanged(false);
  if (focus_ != to) return;
  to->Owner().OnFocusChanged(true);
}

void HeadlessFormPeer::DropFocus(HeadlessControlPeer& from) {
  if (focus_ != &from) return;
  focus_ = nullptr;
  from.Owner().OnFocusChanged(false);
}

HeadlessControlPeer* HeadlessFormPeer::NextTabStop(const Control* from, bool forwards) const {
  std::vector<Control*> stops;
  for (const auto& control : form_.Controls()) {
    if (control->Spec().tabIndex >= 0 && control->CanTakeFocus() && control->Peer()) {
      stops.push_back(control.get());
    }
  }
  if (stops.empty()) return nullptr;
  std::ranges::sort(stops, {}, [](const Control* c) { return c->Spec().tabIndex; });
  const int position = from ? from->Spec().tabIndex : -1;
  Control* next = nullptr;
  if (forwards) {
    auto after =
        std::ranges::find_if(stops, [&](Control* c) { return c->Spec().tabIndex > position; });
    next = (from && after != stops.end()) ? *after : stops.front();
  } else {
    auto before = std::ranges::find_if(stops.rbegin(), stops.rend(),
                                       [&](Control* c) { return c->Spec().tabIndex < position; });
    next = (from && before != stops.rend()) ? *before : stops.back();
  }
  return HeadlessBackend::PeerOf(*next);
}

bool HeadlessFormPeer::ActivateAccessKey(char16_t key) {
  std::vector<Control*> candidates;
  for (const auto& control : form_.Controls()) candidates.push_back(control.get());
  std::ranges::stable_sort(candidates, {}, [](const Control* c) { return c->Spec().tabIndex; });
  for (Control* control : candidates) {
    HeadlessControlPeer* peer = HeadlessBackend::PeerOf(*control);
    if (!peer || !peer->Enabled() || AccessKey(peer->Text()) != key) continue;
    switch (control->Spec().kind) {
      case ControlKind::kLabel:
      case ControlKind::kFrame:
        MoveFocus(NextTabStop(control, true), true);
        return true;
      case ControlKind::kCommandButton:
      case ControlKind::kOptionButton:
        backend_.KeyboardClick(*control);
        return true;
      default:
        break;
    }
  }
  return false;
}

// ---------------------------------------------------------------------------------------------
// Backend

HeadlessBackend::HeadlessBackend() = default;

HeadlessBackend::~HeadlessBackend() = default;

std::unique_ptr<tk::FormPeer> HeadlessBackend::CreateForm(Form& form) {
  auto peer = std::make_unique<HeadlessFormPeer>(*this, form);
  forms_.insert(forms_.begin(), peer.get());
  for (const auto& control : form.Controls()) {
    control->AttachPeer(std::make_unique<HeadlessControlPeer>(*peer, *control));
  }
  return peer;
}

void HeadlessBackend::RunUntil(const std::function<bool()>& done) {
  while (!done() && !posted_.empty()) {
    std::function<void()> work = std::move(posted_.front());
    posted_.pop_front();
    work();
  }
}

int HeadlessBackend::FirstButton(int style) {
  switch (style & 0xF) {
    case 2:  // Abort, Retry, Ignore
      return 3;
    case 3:  // Yes, No, Cancel
    case 4:  // Yes, No
      return 6;
    case 5:  // Retry, Cancel
      return 4;
    default:  // OK, OK and Cancel
      return 1;
  }
}

int HeadlessBackend::MessageBox(const std::u16string& text, int style,
                                const std::u16string& title) {
  openedMenu_ = nullptr;
  const int answer = onMessageBox ? onMessageBox(text, style, title) : FirstButton(style);
  ReactivateAfterDialog();
  return answer;
}

void HeadlessBackend::Beep() {
  if (onBeep) onBeep();
}

DialogResult HeadlessBackend::ShowFileDialog(FileDialogRequest& request) {
  openedMenu_ = nullptr;
  const DialogResult result = onFileDialog ? onFileDialog(request) : DialogResult::kCancelled;
  ReactivateAfterDialog();
  return result;
}

// Windows sends the owner WM_ACTIVATE again when a message box or a file dialog closes; the
// toolkit has to tell that apart from a real change of its own active form.
void HeadlessBackend::ReactivateAfterDialog() {
  if (active_) active_->Owner().OnActivated();
}

HeadlessFormPeer* HeadlessBackend::PeerOf(const Form& form) {
  return static_cast<HeadlessFormPeer*>(form.Peer());
}

HeadlessControlPeer* HeadlessBackend::PeerOf(const Control& control) {
  return static_cast<HeadlessControlPeer*>(control.Peer());
}

void HeadlessBackend::Activate(HeadlessFormPeer& peer) {
  if (active_ == &peer || peer.Destroyed()) return;
  openedMenu_ = nullptr;
  active_ = &peer;
  std::erase(forms_, &peer);
  forms_.push_back(&peer);
  peer.Owner().OnActivated();
}

void HeadlessBackend::OnShown(HeadlessFormPeer& peer) {
  Activate(peer);
  if (peer.Destroyed()) return;
  // An Activate handler that placed the focus itself keeps it.
  if (!peer.Focus()) peer.MoveFocus(peer.NextTabStop(nullptr, true), true);
  if (peer.Owner().IsModal()) {
    Post([this, &peer] {
      if (std::ranges::find(forms_, &peer) != forms_.end() && onModalShown) {
        onModalShown(peer.Owner());
      }
    });
  }
}

void HeadlessBackend::OnDestroyed(HeadlessFormPeer& peer) {
  std::erase(forms_, &peer);
  if (active_ != &peer) return;
  active_ = nullptr;
  // Windows hands the activation to the window that had it before: the owner of a modal form.
  for (auto it = forms_.rbegin(); it != forms_.rend(); ++it) {
    if ((*it)->Visible() && (*it)->Enabled()) {
      Activate(**it);
      return;
    }
  }
}

void HeadlessBackend::Forget(HeadlessFormPeer& peer) {
  std::erase(forms_, &peer);
  if (active_ == &peer) active_ = nullptr;
}

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
      static_cast<TextBox&>(box->Owner()).OnKeyDown(static_cast<std::int16_t>(virtualKey), shift);
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
    case kVkSpace:
      if (focus && !focus->IsTextBox()) {
        KeyboardClick(focus->Owner());
        return;
      }
      break;
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

  if (!focus || !focus->IsTextBox()) {
    if (!ctrl) {
      if (const char16_t typed = TypedBy(virtualKey, shift)) form.ActivateAccessKey(Upper(typed));
    }
    return;
  }
  static_cast<TextBox&>(focus->Owner()).OnKeyDown(static_cast<std::int16_t>(virtualKey), shift);
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

void HeadlessBackend::UserDropFile(Form& form, const std::u16string& path) {
  const HeadlessFormPeer* peer = PeerOf(form);
  if (!peer || peer->Destroyed() || !peer->Visible() || !peer->Enabled()) return;
  form.OnFileDropped(path);
}

}  // namespace tk::headless
