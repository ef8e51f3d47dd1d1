#pragma once
// The driver of the Windows build: acts as the user on the real Win32 controls, in process, by
// sending the messages the system would send. Message boxes and file dialogs are the real ones,
// answered through a thread-local CBT hook as they are activated.

#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "support/driver.h"
#include "toolkit/win32/handles.h"
#include "toolkit/win32/win32_backend.h"

namespace tktest {

class Win32Driver final : public Driver {
 public:
  Win32Driver();
  ~Win32Driver() override;
  Win32Driver(const Win32Driver&) = delete;
  Win32Driver& operator=(const Win32Driver&) = delete;

  tk::win32::Win32Backend& Backend();
  // How often the program would have ended on an exception that reached a window procedure. A
  // test that throws from a handler on purpose says so; in any other, an end fails the test.
  int ProgramEnds() const { return programEnds_; }
  // The folder each file dialog showed when it was answered.
  const std::vector<std::u16string>& ShownFolders() const { return shownFolders_; }
  // The filter each answered file dialog showed chosen, counted from 0.
  const std::vector<LRESULT>& ShownFilters() const { return shownFilters_; }
  // The window that owned each dialog and message box shown, or null.
  const std::vector<HWND>& DialogOwners() const { return dialogOwners_; }
  void ExpectProgramEnd() { programEndExpected_ = true; }

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
  class RecordingBackend;
  struct DialogAnswer {
    enum class Kind { kButton, kFirstButton, kFile, kCancel } kind = Kind::kFirstButton;
    int button = 0;
    std::u16string path;
    bool sent = false;
  };
  struct PendingCall {
    bool fileDialog = false;
    std::optional<DialogAnswer> answer;  // none: nothing was queued for it
    bool bound = false;
  };
  // A menu-bar item whose sub-menu was opened: it is really opened once the key that acts in it
  // is known, because the menu holds the thread until that key comes.
  struct OpenedMenu {
    HWND form = nullptr;
    char16_t accessKey = 0;
  };

  static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
  static void CALLBACK AnswerTimer(HWND dialog, UINT message, UINT_PTR id, DWORD time);
  static void CALLBACK MenuTimer(HWND form, UINT message, UINT_PTR id, DWORD time);
  void OnDialogActivating(HWND dialog);
  void AnswerDialog(HWND dialog);
  void DriveOpenedMenu(MSG key);
  void SendKey(HWND target, UINT message, int virtualKey, bool alt, bool release);
  HWND KeyboardTarget() const;
  bool AcceptsInput(HWND control) const;
  void PressMouseButton(HWND window, UINT down, UINT up, WPARAM button, std::int16_t shift);

  int RecordMessageBox(const std::u16string& text, int style, const std::u16string& title);
  tk::DialogResult RecordFileDialog(tk::FileDialogRequest& request);

  std::vector<std::u16string> shownFolders_;
  std::vector<LRESULT> shownFilters_;
  std::vector<HWND> dialogOwners_;
  std::unique_ptr<RecordingBackend> backend_;
  HHOOK hook_ = nullptr;
  std::vector<PendingCall> pending_;
  std::map<HWND, DialogAnswer> answers_;
  std::optional<OpenedMenu> openedMenu_;
  std::vector<MSG> menuKeys_;
  int programEnds_ = 0;
  bool programEndExpected_ = false;
};

}  // namespace tktest
