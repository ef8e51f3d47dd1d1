#include "support/headless/driver_headless.h"

namespace tktest {

using tk::headless::HeadlessBackend;

HeadlessDriver::HeadlessDriver() : backend_(std::make_unique<HeadlessBackend>()) {
  app_ = std::make_unique<tk::Application>(*backend_);

  backend_->onMessageBox = [this](const std::u16string& text, int style,
                                  const std::u16string& title) {
    RunBoxAction();
    int answer = HeadlessBackend::FirstButton(style);
    if (messageBoxAnswers_.empty()) {
      ++unexpectedDialogs_;
    } else {
      answer = messageBoxAnswers_.front();
      messageBoxAnswers_.erase(messageBoxAnswers_.begin());
    }
    messageBoxes_.push_back({text, style, title, answer});
    return answer;
  };
  backend_->onFileDialog = [this](tk::FileDialogRequest& request) {
    RunBoxAction();
    fileDialogs_.push_back(request);
    if (fileDialogAnswers_.empty()) {
      ++unexpectedDialogs_;
      return tk::DialogResult::kCancelled;
    }
    std::u16string path = std::move(fileDialogAnswers_.front());
    fileDialogAnswers_.erase(fileDialogAnswers_.begin());
    if (path.empty()) return tk::DialogResult::kCancelled;
    request.fileName = std::move(path);
    return tk::DialogResult::kOk;
  };
  backend_->onBeep = [this] { RecordBeep(); };
  backend_->onModalShown = [this](tk::Form& form) { RunModalAction(form); };
}

void HeadlessDriver::Show(tk::Form& form) {
  form.Show();
  Settle();
}

void HeadlessDriver::Settle() {
  backend_->RunUntil([] { return false; });
}

void HeadlessDriver::Click(tk::Control& control, std::int16_t shift) {
  backend_->UserClick(control, shift);
  Settle();
}

void HeadlessDriver::Press(tk::Control& control, std::int16_t button, std::int16_t shift) {
  backend_->UserPress(control, button, shift);
  Settle();
}

void HeadlessDriver::Type(std::u16string_view characters) {
  for (char16_t character : characters) backend_->UserType(character);
  Settle();
}

void HeadlessDriver::PressKey(int virtualKey, std::int16_t shift) {
  backend_->UserKey(virtualKey, shift);
  Settle();
}

void HeadlessDriver::Paste(std::u16string_view text) {
  backend_->UserPaste(text);
  Settle();
}

void HeadlessDriver::SelectAll() { backend_->UserSelectAll(); }

void HeadlessDriver::ChooseMenu(tk::MenuItem& item) {
  backend_->UserChooseMenu(item);
  Settle();
}

void HeadlessDriver::CloseBox(tk::Form& form) {
  backend_->UserClose(form, tk::kUnloadByCloseBox);
  Settle();
}

void HeadlessDriver::EndTask(tk::Form& form) {
  backend_->UserClose(form, tk::kUnloadByTaskManager);
  Settle();
}

void HeadlessDriver::EndSession(tk::Form& form, bool ends) {
  if (ends) backend_->UserClose(form, tk::kUnloadBySessionEnd);
  Settle();
}

void HeadlessDriver::DropFile(tk::Form& form, const std::u16string& path) {
  backend_->UserDropFile(form, path);
  Settle();
}

std::u16string HeadlessDriver::ShownText(tk::Control& control) {
  const auto* peer = HeadlessBackend::PeerOf(control);
  return peer ? peer->Text() : std::u16string();
}

bool HeadlessDriver::ShownEnabled(tk::Control& control) {
  const auto* peer = HeadlessBackend::PeerOf(control);
  return peer && peer->Enabled();
}

bool HeadlessDriver::ShownChecked(tk::Control& control) {
  const auto* peer = HeadlessBackend::PeerOf(control);
  return peer && peer->Checked();
}

tk::Control* HeadlessDriver::ShownFocus(tk::Form& form) {
  const auto* peer = HeadlessBackend::PeerOf(form);
  if (!peer || peer->Destroyed() || !peer->Focus()) return nullptr;
  return &peer->Focus()->Owner();
}

int HeadlessDriver::ShownCaret(tk::Control& control) {
  const auto* peer = HeadlessBackend::PeerOf(control);
  return peer ? peer->Caret() : 0;
}

bool HeadlessDriver::ShownVisible(tk::Form& form) {
  const auto* peer = HeadlessBackend::PeerOf(form);
  return peer && peer->Visible();
}

std::unique_ptr<Driver> MakeDriver() { return std::make_unique<HeadlessDriver>(); }

}  // namespace tktest
