#pragma once
// What a windowing backend supplies. The portable classes in this folder hold the state and raise
// the events; a backend only mirrors that state on screen and reports what the user did.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "toolkit/design.h"

namespace tk {

class Form;
class Control;
class TextBox;
class CommandButton;
class OptionButton;
class Label;
class Frame;
class Line;
class PictureBox;

// The native side of one control. Setters never report back: the portable control has already
// raised whatever event the change means.
class ControlPeer {
 public:
  virtual ~ControlPeer() = default;
  virtual void SetText(const std::u16string& text) = 0;  // text or caption
  virtual void SetEnabled(bool enabled) = 0;
  virtual void SetFocus() = 0;
  virtual void SetChecked(bool checked) = 0;
  virtual void SetColors(Color fore, Color back) = 0;
  virtual int SelStart() const = 0;  // caret position in a text box
  virtual void SetSelStart(int position) = 0;
};

// Makes the native side of each kind of control: a control asks for its own kind's overload
// (Control::CreatePeer), so a backend needs no test of the kind. Null: the kind has no window.
class PeerFactory {
 public:
  virtual ~PeerFactory() = default;
  virtual std::unique_ptr<ControlPeer> Create(TextBox& box) = 0;
  virtual std::unique_ptr<ControlPeer> Create(CommandButton& button) = 0;
  virtual std::unique_ptr<ControlPeer> Create(OptionButton& option) = 0;
  virtual std::unique_ptr<ControlPeer> Create(Label& label) = 0;
  virtual std::unique_ptr<ControlPeer> Create(Frame& frame) = 0;
  virtual std::unique_ptr<ControlPeer> Create(Line& line) = 0;
  virtual std::unique_ptr<ControlPeer> Create(PictureBox& picture) = 0;
};

// The native side of one form: its window, and a peer for each of its controls, attached through
// Control::AttachPeer when the form peer is created.
class FormPeer {
 public:
  virtual ~FormPeer() = default;
  virtual void Show() = 0;  // shows and activates
  virtual void SetEnabled(bool enabled) = 0;
  virtual void Destroy() = 0;
  virtual int Left() const = 0;  // outer window, screen twips
  virtual int Top() const = 0;
  virtual void Move(int left, int top) = 0;  // screen twips
  // Puts the outer corner `left`, `top` twips from `anchor`'s, counted at this form's scale.
  virtual void MoveFrom(const FormPeer& anchor, int left, int top) = 0;
  // Hands the form a close request again once the event being handled has returned.
  virtual void PostCloseRequest(std::int16_t unloadMode) = 0;
};

struct FileDialogRequest {
  bool save = false;
  std::u16string title;
  std::u16string filter;  // "description|pattern|description|pattern"
  std::u16string defaultExt;
  std::u16string fileName;  // in: initial name or folder\pattern; out: the chosen path
  int flags = 0;
};

enum class DialogResult { kOk, kCancelled, kFailed };

class Backend {
 public:
  virtual ~Backend() = default;
  // Creates the form's window and its controls' peers, still hidden; all or nothing: null, and no
  // control given a peer, where any of them cannot be made.
  virtual std::unique_ptr<FormPeer> CreateForm(Form& form) = 0;
  // Handles events until `done` returns true; checked after every event.
  virtual void RunUntil(const std::function<bool()>& done) = 0;
  virtual int MessageBox(const std::u16string& text, int style, const std::u16string& title) = 0;
  virtual void Beep() = 0;
  virtual DialogResult ShowFileDialog(FileDialogRequest& request) = 0;
  virtual std::u16string ProgramFolder() = 0;  // without a trailing backslash
  // Whether the system can show `text` in `font`: where text crosses in a code page, the code page
  // holds every character of it, and a font of the system has `font`'s character set.
  virtual bool CanShow(std::u16string_view text, const FontSpec& font) = 0;
};

}  // namespace tk
