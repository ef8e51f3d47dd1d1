#pragma once
// The toolkit on the real Win32 controls: each form is a dialog-class window (DefDlgProcW) holding
// EDIT, BUTTON and STATIC controls, with a menu bar and an accelerator table.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/backend.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"
#include "toolkit/win32/windows_api.h"

namespace tk::win32 {

class FormWindow;

class Win32Backend : public Backend {
 public:
  Win32Backend();
  ~Win32Backend() override;
  Win32Backend(const Win32Backend&) = delete;
  Win32Backend& operator=(const Win32Backend&) = delete;

  std::unique_ptr<FormPeer> CreateForm(Form& form) override;
  void RunUntil(const std::function<bool()>& done) override;
  int MessageBox(const std::u16string& text, int style, const std::u16string& title) override;
  void Beep() override;
  DialogResult ShowFileDialog(FileDialogRequest& request) override;
  std::u16string ProgramFolder() override;
  bool CanShow(std::u16string_view text, const FontSpec& font) override;

  // One message through the keyboard path of the program's message loop: the active form's menu
  // shortcuts first, then its dialog keys (Tab, access keys, Enter, Esc), then the control.
  void ProcessMessage(MSG& message);

  // The window a message box or a file dialog belongs to: the program's active form, if any.
  HWND OwnerWindow() const;

  // An exception reached a window procedure, or start-up: what it left half done cannot be
  // known, so the program says so in one message box titled with its name and ends.
  void OnUncaughtException() noexcept;
  // The text and title of that message box, in the program's language.
  void SetFailureMessage(std::u16string text, std::u16string title);

  // Called by form windows.
  void Attach(FormWindow& window);
  void Detach(FormWindow& window);
  void OnActivated(FormWindow& window);
  virtual void OnModalShown(Form& /*form*/) {}
  // A message posted to the thread rather than to a window; returns whether it was handled.
  virtual bool OnThreadMessage(const MSG& /*message*/) { return false; }

 protected:
  // Ends the process; the test driver records the end instead.
  virtual void EndProgram() noexcept;

 private:
  FormWindow* ActiveFormWindow() const;

  std::vector<FormWindow*> windows_;
  FormWindow* lastActive_ = nullptr;
  bool ending_ = false;
  std::u16string failureText_, failureTitle_ = u"Tintmark";
};

}  // namespace tk::win32
