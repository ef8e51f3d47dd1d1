#include "toolkit/headless/headless_control_peer.h"

#include <algorithm>
#include <cstdlib>

#include "toolkit/headless/headless_form_peer.h"
#include "toolkit/virtual_keys.h"

namespace tk::headless {

namespace {

std::u16string InitialText(const Control& control) {
  if (auto* box = dynamic_cast<const TextBox*>(&control)) return box->Text();
  if (auto* label = dynamic_cast<const Label*>(&control)) return label->Caption();
  return std::u16string(control.Spec().caption);
}

}  // namespace

HeadlessControlPeer::HeadlessControlPeer(HeadlessFormPeer& form, Control& control)
    : form_(form),
      control_(control),
      text_(InitialText(control)),
      enabled_(control.Enabled()),
      checked_(false),
      fore_(control.Spec().foreColor.value_or(0x000000)),
      back_(control.Spec().backColor.value_or(0xFFFFFF)) {
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

void HeadlessControlPeer::SetColors(Color fore, Color back) {
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

}  // namespace tk::headless
