#include "toolkit/controls.h"

#include "toolkit/form.h"

namespace tk {

Control::Control(Form& form, const ControlSpec& spec)
    : form_(form), spec_(spec), enabled_(spec.enabled) {}

Control::~Control() = default;

void Control::AttachPeer(std::unique_ptr<ControlPeer> peer) { peer_ = std::move(peer); }

void Control::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  if (peer_) peer_->SetEnabled(enabled);
}

bool Control::CanTakeFocus() const { return enabled_ && TakesFocus(); }

void Control::SetFocus() {
  if (!CanTakeFocus() || !peer_) return;
  peer_->SetFocus();
}

bool Control::HasFocus() const { return form_.Focused() == this; }

void Control::OnFocusChanged(bool gained) {
  form_.OnControlFocus(*this, gained);
  const auto& handler = gained ? GotFocus : LostFocus;
  if (handler) handler();
}

void Control::OnKeyDown(std::int16_t keyCode, std::int16_t shift) {
  if (KeyDown) KeyDown(keyCode, shift);
}

TextBox::TextBox(Form& form, const ControlSpec& spec)
    : Control(form, spec),
      text_(spec.caption),
      fore_(spec.foreColor.value_or(kWindowText)),
      back_(spec.backColor.value_or(kWindowBackground)) {}

void TextBox::SetText(const std::u16string& text) {
  if (text == text_) return;
  text_ = text;
  if (peer_) peer_->SetText(text);
  if (Change) Change();
}

void TextBox::OnUserEdit(const std::u16string& text) {
  if (text == text_) return;
  text_ = text;
  if (Change) Change();
}

void TextBox::SetForeColor(Color color) {
  fore_ = color & 0xFFFFFF;
  if (peer_) peer_->SetColors(fore_, back_);
}

void TextBox::SetBackColor(Color color) {
  back_ = color & 0xFFFFFF;
  if (peer_) peer_->SetColors(fore_, back_);
}

int TextBox::SelStart() const { return peer_ ? peer_->SelStart() : 0; }

void TextBox::SetSelStart(int position) {
  if (position < 0) position = 0;
  if (position > static_cast<int>(text_.size())) position = static_cast<int>(text_.size());
  if (peer_) peer_->SetSelStart(position);
}

void CommandButton::OnClick() {
  if (Click) Click();
}

void CommandButton::OnMouseDown(std::int16_t button, std::int16_t shift, float x, float y) {
  if (MouseDown) MouseDown(button, shift, x, y);
}

OptionButton::OptionButton(Form& form, const ControlSpec& spec)
    : Control(form, spec), value_(spec.selected) {}

void OptionButton::SetValue(bool value) {
  if (value_ == value) return;
  value_ = value;
  if (peer_) peer_->SetChecked(value);
  if (!value) return;
  form_.OnOptionSelected(*this);
  if (Click) Click();
}

Label::Label(Form& form, const ControlSpec& spec) : Control(form, spec), caption_(spec.caption) {}

void Label::SetCaption(const std::u16string& caption) {
  caption_ = caption;
  if (peer_) peer_->SetText(caption);
}

}  // namespace tk
