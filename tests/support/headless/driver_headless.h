#pragma once
// The driver of the native build: acts as the user through the headless backend.

#include <memory>

#include "support/driver.h"
#include "toolkit/headless/headless_backend.h"

namespace tktest {

class HeadlessDriver final : public Driver {
 public:
  HeadlessDriver();

  tk::headless::HeadlessBackend& Backend() { return *backend_; }
  // The menu-bar item whose sub-menu an access key opened, or null.
  const tk::MenuItem* OpenedMenu() const { return backend_->OpenedMenu(); }

  void Show(tk::Form& form) override;
  void Settle() override;
  void Click(tk::Control& control, std::int16_t shift = 0) override;
  void Press(tk::Control& control, std::int16_t button, std::int16_t shift = 0) override;
  void Type(std::u16string_view characters) override;
  void PressKey(int virtualKey, std::int16_t shift = 0) override;
  void Paste(std::u16string_view text) override;
  void SelectAll() override;
  void ChooseMenu(tk::MenuItem& item) override;
  void CloseBox(tk::Form& form) override;
  void EndTask(tk::Form& form) override;
  void EndSession(tk::Form& form, bool ends = true) override;
  void DropFile(tk::Form& form, const std::u16string& path) override;

  std::u16string ShownText(tk::Control& control) override;
  bool ShownEnabled(tk::Control& control) override;
  bool ShownChecked(tk::Control& control) override;
  tk::Control* ShownFocus(tk::Form& form) override;
  int ShownCaret(tk::Control& control) override;
  bool ShownVisible(tk::Form& form) override;

 private:
  std::unique_ptr<tk::headless::HeadlessBackend> backend_;
};

}  // namespace tktest
