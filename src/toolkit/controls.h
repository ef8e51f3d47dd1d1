#pragma once
// The controls a form is made of. Each holds its own state and raises its events; the native side
// (a ControlPeer) mirrors the state and reports user actions through the On... calls.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "common/shift_state.h"
#include "toolkit/backend.h"
#include "toolkit/design.h"

namespace tk {

class Form;

// Shift-state bits, as passed to MouseDown and KeyDown.
using common::kAltBit, common::kCtrlBit, common::kShiftBit;

constexpr std::int16_t kLeftButton = 1;
constexpr std::int16_t kRightButton = 2;
constexpr std::int16_t kMiddleButton = 4;

class Control {
 public:
  Control(Form& form, const ControlSpec& spec);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const ControlSpec& Spec() const { return spec_; }
  std::string_view Name() const { return spec_.name; }
  std::int16_t Index() const { return static_cast<std::int16_t>(spec_.index); }
  Form& Parent() const { return form_; }

  // Builds this control's native side through the factory's overload for its kind.
  virtual std::unique_ptr<ControlPeer> CreatePeer(PeerFactory& factory) = 0;
  // Whether this kind of control takes the focus at all.
  virtual bool TakesFocus() const { return false; }

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // Gives the control the focus; a disabled control cannot take it.
  void SetFocus();
  bool HasFocus() const;
  bool CanTakeFocus() const;

  std::function<void()> GotFocus;
  std::function<void()> LostFocus;
  // A key went down while the control had the focus (text boxes and command buttons), with the
  // Shift, Ctrl and Alt bits as the keyboard holds them. The window's own keys never reach it:
  // menu shortcuts, Tab, Enter, Esc, and on a button the arrows and Alt; a key held down on a
  // button counts once.
  std::function<void(std::int16_t keyCode, std::int16_t shift)> KeyDown;

  // Called by the backend.
  void AttachPeer(std::unique_ptr<ControlPeer> peer);
  ControlPeer* Peer() const { return peer_.get(); }
  void OnFocusChanged(bool gained);
  void OnKeyDown(std::int16_t keyCode, std::int16_t shift);

 protected:
  Form& form_;
  const ControlSpec& spec_;
  std::unique_ptr<ControlPeer> peer_;
  bool enabled_;
};

class TextBox : public Control {
 public:
  TextBox(Form& form, const ControlSpec& spec);
  std::unique_ptr<ControlPeer> CreatePeer(PeerFactory& factory) override {
    return factory.Create(*this);
  }
  bool TakesFocus() const override { return true; }

  const std::u16string& Text() const { return text_; }
  // Raises Change before returning when the text differs; the caret then stands at the start.
  void SetText(const std::u16string& text);
  // The system's window text and background until the design or the program gives colours.
  Color ForeColor() const { return fore_; }
  Color BackColor() const { return back_; }
  void SetForeColor(Color color);
  void SetBackColor(Color color);
  int SelStart() const;
  void SetSelStart(int position);

  std::function<void()> Change;

  // Called by the backend: the user changed the text to `text`.
  void OnUserEdit(const std::u16string& text);

 private:
  std::u16string text_;
  Color fore_;
  Color back_;
};

class CommandButton : public Control {
 public:
  using Control::Control;
  std::unique_ptr<ControlPeer> CreatePeer(PeerFactory& factory) override {
    return factory.Create(*this);
  }
  bool TakesFocus() const override { return true; }

  std::function<void()> Click;
  // A mouse button went down on the button: once per press, never for a click by keyboard.
  std::function<void(std::int16_t button, std::int16_t shift, float x, float y)> MouseDown;

  void OnClick();
  void OnMouseDown(std::int16_t button, std::int16_t shift, float x, float y);
};

class OptionButton : public Control {
 public:
  OptionButton(Form& form, const ControlSpec& spec);
  std::unique_ptr<ControlPeer> CreatePeer(PeerFactory& factory) override {
    return factory.Create(*this);
  }
  bool TakesFocus() const override { return true; }

  bool Value() const { return value_; }
  // Selecting deselects the other option buttons of the same container and raises Click.
  void SetValue(bool value);

  std::function<void()> Click;

  // Called by the backend: the user selected this option.
  void OnUserSelect() { SetValue(true); }

 private:
  bool value_;
};

class Label : public Control {
 public:
  Label(Form& form, const ControlSpec& spec);
  std::unique_ptr<ControlPeer> CreatePeer(PeerFactory& factory) override {
    return factory.Create(*this);
  }
  const std::u16string& Caption() const { return caption_; }
  void SetCaption(const std::u16string& caption);

 private:
  std::u16string caption_;
};

class Frame : public Control {
 public:
  using Control::Control;
  std::unique_ptr<ControlPeer> CreatePeer(PeerFactory& factory) override {
    return factory.Create(*this);
  }
};

class Line : public Control {
 public:
  using Control::Control;
  std::unique_ptr<ControlPeer> CreatePeer(PeerFactory& factory) override {
    return factory.Create(*this);
  }
};

class PictureBox : public Control {
 public:
  using Control::Control;
  std::unique_ptr<ControlPeer> CreatePeer(PeerFactory& factory) override {
    return factory.Create(*this);
  }
};

class MenuItem {
 public:
  explicit MenuItem(const MenuSpec& spec) : spec_(spec) {}
  const MenuSpec& Spec() const { return spec_; }
  std::string_view Name() const { return spec_.name; }
  bool IsSeparator() const { return spec_.caption == u"-"; }

  std::function<void()> Click;
  void OnClick() {
    if (Click) Click();
  }

 private:
  const MenuSpec& spec_;
};

}  // namespace tk
