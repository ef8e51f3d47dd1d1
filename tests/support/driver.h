#pragma once
// Acts as the user on a running program, the same way on both backends: natively over the headless
// backend, and under Wine over the real Win32 controls, message boxes and file dialogs.

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/form.h"
#include "toolkit/virtual_keys.h"

namespace tktest {

struct MessageBoxCall {
  std::u16string text;
  int style = 0;
  std::u16string title;
  int answer = 0;
};

// A file dialog as the program asked for it: every setting, and the name it offered.
using FileDialogCall = tk::FileDialogRequest;

using tk::kVkBack, tk::kVkTab, tk::kVkReturn, tk::kVkEscape, tk::kVkSpace, tk::kVkEnd, tk::kVkHome,
    tk::kVkLeft, tk::kVkUp, tk::kVkRight, tk::kVkDown, tk::kVkDelete;

class Driver {
 public:
  virtual ~Driver() = default;

  tk::Application& App() { return *app_; }

  // Shows the form non-modally and handles events until none is pending.
  virtual void Show(tk::Form& form) = 0;
  // Handles every pending event (posted messages, timers already due) and returns.
  virtual void Settle() = 0;

  // Mouse: a left click (press and release) with Shift/Ctrl bits; focus moves as on Windows.
  virtual void Click(tk::Control& control, std::int16_t shift = 0) = 0;
  // A press and release of the right or middle mouse button (tk::kRightButton, kMiddleButton):
  // no click follows and the focus stays.
  virtual void Press(tk::Control& control, std::int16_t button, std::int16_t shift = 0) = 0;
  // Keyboard, to whatever has the focus: characters typed one by one at the caret.
  virtual void Type(std::u16string_view characters) = 0;
  // One key with modifier bits (tk::kShiftBit, kCtrlBit, kAltBit): Alt+letter access keys,
  // Ctrl+letter shortcuts, Tab, Return, Escape, arrows, Back, Delete, Home, End.
  virtual void PressKey(int virtualKey, std::int16_t shift = 0) = 0;
  // Replaces the selection of the focused text box with `text`, as the clipboard would.
  virtual void Paste(std::u16string_view text) = 0;
  // Selects the whole text of the focused text box (as a mouse drag would; not a shortcut).
  virtual void SelectAll() = 0;
  // Chooses a menu item with the mouse.
  virtual void ChooseMenu(tk::MenuItem& item) = 0;
  // Clicks the form's close box.
  virtual void CloseBox(tk::Form& form) = 0;
  // Asks the form to close from outside, as the task manager or taskkill does.
  virtual void EndTask(tk::Form& form) = 0;
  // Ends the form as the system does at log-off; with `ends` false the log-off is cancelled after
  // the system asked (another program refused).
  virtual void EndSession(tk::Form& form, bool ends = true) = 0;
  // Drops a file from the desktop onto the form, also while it is disabled, as a drag under Wine
  // can.
  virtual void DropFile(tk::Form& form, const std::u16string& path) = 0;

  // Dialogs are answered in order; an unexpected one is answered with its first button and
  // recorded.
  void AnswerNextMessageBox(int answer) { messageBoxAnswers_.push_back(answer); }
  void AnswerNextFileDialog(std::u16string path) { fileDialogAnswers_.push_back(std::move(path)); }
  void CancelNextFileDialog() { fileDialogAnswers_.push_back(std::u16string()); }
  // Drops the answers not used yet.
  void ForgetAnswers() {
    messageBoxAnswers_.clear();
    fileDialogAnswers_.clear();
  }

  // A modal form holds its caller until it unloads, so what the user does in it is queued
  // beforehand: the next form shown modally runs the next action once it is up. The action should
  // leave the form unloaded; one still loaded afterwards is closed with its close box and counted
  // as an unexpected dialog, and so is a modal form with no action queued.
  void WhenNextModalShown(std::function<void(tk::Form&)> action) {
    modalActions_.push_back(std::move(action));
  }

  // Runs at every beep, before the program goes on: to look at the screen at that moment.
  void WhenBeeping(std::function<void()> look) { beepLook_ = std::move(look); }
  // Runs once the next message box or file dialog is up, before it is answered.
  void WhileNextBoxIsUp(std::function<void()> action) { boxAction_ = std::move(action); }

  const std::vector<MessageBoxCall>& MessageBoxes() const { return messageBoxes_; }
  const std::vector<FileDialogCall>& FileDialogs() const { return fileDialogs_; }
  int Beeps() const { return beeps_; }
  int UnexpectedDialogs() const { return unexpectedDialogs_; }
  void ClearRecords() {
    messageBoxes_.clear();
    fileDialogs_.clear();
    beeps_ = 0;
  }

  // What the screen shows, read from the native side.
  virtual std::u16string ShownText(tk::Control& control) = 0;
  virtual bool ShownEnabled(tk::Control& control) = 0;
  virtual bool ShownChecked(tk::Control& control) = 0;
  virtual tk::Control* ShownFocus(tk::Form& form) = 0;
  virtual int ShownCaret(tk::Control& control) = 0;
  virtual bool ShownVisible(tk::Form& form) = 0;

 protected:
  void RecordBeep() {
    ++beeps_;
    if (beepLook_) beepLook_();
  }
  void RunBoxAction() {
    if (auto action = std::exchange(boxAction_, nullptr)) action();
  }
  // Runs the action queued for a form just shown modally; see WhenNextModalShown.
  void RunModalAction(tk::Form& form) {
    if (modalActions_.empty()) {
      ++unexpectedDialogs_;
    } else {
      auto action = std::move(modalActions_.front());
      modalActions_.pop_front();
      action(form);
      if (!form.IsLoaded()) return;
      ++unexpectedDialogs_;
    }
    CloseBox(form);
  }

  std::unique_ptr<tk::Application> app_;
  std::vector<int> messageBoxAnswers_;
  std::vector<std::u16string> fileDialogAnswers_;
  std::deque<std::function<void(tk::Form&)>> modalActions_;
  std::vector<MessageBoxCall> messageBoxes_;
  std::vector<FileDialogCall> fileDialogs_;
  int beeps_ = 0;
  std::function<void()> beepLook_;
  std::function<void()> boxAction_;
  int unexpectedDialogs_ = 0;
};

// The driver of this build: headless natively, Win32 under Wine.
std::unique_ptr<Driver> MakeDriver();

}  // namespace tktest
