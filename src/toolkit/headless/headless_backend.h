#pragma once
// A backend with no screen: every window and control lives in memory and behaves as its Win32
// counterpart does (an edit control, a button, a dialog's keyboard handling, activation), so that
// native tests can act as the user and see the same events in the same order.
//
// Nothing is queued by the system here, so RunUntil only runs work posted with Post() and returns
// when `done` holds or nothing is left. Showing a form modally posts one item that calls
// `onModalShown`: whoever drives the program acts on the modal form from there, inside the
// ShowModal that is waiting for it. Message boxes and file dialogs are answered through hooks the
// same way.
//
// Win32 behaviours kept here, because the program or its tests meet them:
// - the focus moves before the losing control hears of it, and a LostFocus or GotFocus handler
//   that moves it again wins; a clicked button takes the focus before its MouseDown and Click;
// - Tab, Shift+Tab and an access key select the whole text of the field they land on; a click
//   puts the caret at the end; a text set by code puts it at the start;
// - menu shortcuts are taken before the focused control sees the key; a key with Alt held reaches
//   a focused text box's KeyDown first, then Alt+letter tries the controls' access keys before the
//   menu bar, and so does a typed character when no text box has the focus; Enter and Esc only
//   click a default or cancel button; other keys but the arrows reach a focused button's KeyDown
//   first, and Space then clicks it;
// - each form keeps its own focus across activations, and a form gets its first tab stop only
//   when its Activate handler did not place the focus itself;
// - a message box or a file dialog ends with the active form told of its activation again.
// Typed characters raise no KeyDown (PressKey does, for keys that have one).

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/backend.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"
#include "toolkit/headless/headless_control_peer.h"
#include "toolkit/headless/headless_form_peer.h"

namespace tk::headless {

class HeadlessBackend final : public Backend {
 public:
  HeadlessBackend();
  ~HeadlessBackend() override;

  std::unique_ptr<tk::FormPeer> CreateForm(Form& form) override;
  void RunUntil(const std::function<bool()>& done) override;
  int MessageBox(const std::u16string& text, int style, const std::u16string& title) override;
  void Beep() override;
  DialogResult ShowFileDialog(FileDialogRequest& request) override;
  std::u16string ProgramFolder() override { return programFolder_; }
  bool CanShow(std::u16string_view text, const FontSpec& font) override;

  // Set by the driver. Without them a message box answers with its first button, a file dialog is
  // cancelled and a modal form is left waiting (RunUntil returns with it still loaded).
  std::function<int(const std::u16string& text, int style, const std::u16string& title)>
      onMessageBox;
  std::function<DialogResult(FileDialogRequest&)> onFileDialog;
  std::function<void()> onBeep;
  std::function<void(Form&)> onModalShown;

  // How many of the next forms the system refuses to make, as Windows does when it runs out of
  // resources.
  int formsToRefuse = 0;

  // A system whose code page and fonts hold nothing but ASCII, as a Western Windows 98 or an
  // English Windows XP without the East Asian language files.
  bool asciiOnly = false;

  void SetProgramFolder(std::u16string folder) { programFolder_ = std::move(folder); }
  void Post(std::function<void()> work) { posted_.push_back(std::move(work)); }

  // Whether `peer` is a form window that is still there (not destroyed, not deleted).
  bool Holds(const HeadlessFormPeer& peer) const;
  // The form that has the keyboard, or null.
  HeadlessFormPeer* ActivePeer() const { return active_; }
  static HeadlessFormPeer* PeerOf(const Form& form);
  static HeadlessControlPeer* PeerOf(const Control& control);

  // What the user does (simulated_user.cpp). Input to a disabled window or control is ignored,
  // as on Windows.
  void UserClick(Control& control, std::int16_t shift);
  // A press of the right or middle mouse button: MouseDown only, the focus stays where it is.
  void UserPress(Control& control, std::int16_t button, std::int16_t shift);
  // Space or an access key on a button: it takes the focus and clicks, with no MouseDown.
  void KeyboardClick(Control& control);
  void UserType(char16_t character);
  void UserKey(int virtualKey, std::int16_t shift);
  void UserPaste(std::u16string_view text);
  void UserSelectAll();
  void UserChooseMenu(MenuItem& item);
  void UserClose(Form& form, std::int16_t unloadMode);
  void UserDropFile(Form& form, const std::u16string& path);

  // The answer of a message box closed with its first button.
  static int FirstButton(int style);

  // The menu-bar item whose sub-menu is open, or null. While it is open, a letter chooses its item
  // with that access key and Escape closes it.
  const MenuItem* OpenedMenu() const { return openedMenu_; }
  void CloseMenu() { openedMenu_ = nullptr; }

  // Called by the form peers.
  void Activate(HeadlessFormPeer& peer);
  void OnShown(HeadlessFormPeer& peer);
  void OnDestroyed(HeadlessFormPeer& peer);
  void Forget(HeadlessFormPeer& peer);

 private:
  void ReactivateAfterDialog();
  bool AcceptsInput(const Control& control) const;
  HeadlessControlPeer* FocusedTextBox() const;

  std::vector<HeadlessFormPeer*> forms_;  // least recently active first
  HeadlessFormPeer* active_ = nullptr;
  std::deque<std::function<void()>> posted_;
  const MenuItem* openedMenu_ = nullptr;
  std::u16string programFolder_ = u"C:\\Program Files\\Tintmark";
};

}  // namespace tk::headless
