#pragma once
// A control of the headless backend: its text or caption, state and colours, and for a text box
// the caret, the selection and the edit control's own handling of the user's keys.

#include <cstdint>
#include <string>
#include <string_view>

#include "toolkit/backend.h"
#include "toolkit/controls.h"

namespace tk::headless {

class HeadlessFormPeer;

// One control as shown: text or caption, state, colours and, for text boxes, caret and selection.
class HeadlessControlPeer final : public ControlPeer {
 public:
  HeadlessControlPeer(HeadlessFormPeer& form, Control& control);

  void SetText(const std::u16string& text) override;
  void SetEnabled(bool enabled) override;
  void SetFocus() override;
  void SetChecked(bool checked) override;
  void SetColors(Color fore, Color back) override;
  int SelStart() const override;
  void SetSelStart(int position) override;

  Control& Owner() const { return control_; }
  HeadlessFormPeer& Window() const { return form_; }
  const std::u16string& Text() const { return text_; }
  bool Enabled() const { return enabled_; }
  bool Checked() const { return checked_; }
  Color Fore() const { return fore_; }
  Color Back() const { return back_; }
  int Caret() const { return caret_; }
  int SelLength() const;
  bool IsTextBox() const { return control_.Spec().kind == ControlKind::kTextBox; }

  // The edit control's own handling of user input; each reports a changed text to the TextBox.
  void Select(int anchor, int caret);
  void SelectAll() { Select(0, static_cast<int>(text_.size())); }
  // Replaces the selection as far as the length limit allows; a refused insertion changes nothing.
  void ReplaceSelection(std::u16string_view text);
  // Caret keys and Back/Delete; other keys do nothing.
  void EditKey(int virtualKey, std::int16_t shift);

 private:
  void UserEdited(std::u16string text, int caret);

  HeadlessFormPeer& form_;
  Control& control_;
  std::u16string text_;
  bool enabled_;
  bool checked_;
  Color fore_, back_;
  int anchor_ = 0, caret_ = 0;
};

}  // namespace tk::headless
