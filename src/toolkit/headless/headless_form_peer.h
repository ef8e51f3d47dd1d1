#pragma once
// A form of the headless backend: shown, enabled or destroyed, its position, its focus, and the
// dialog manager's moves between its controls (tab order, access keys).

#include "toolkit/backend.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"
#include "toolkit/headless/headless_control_peer.h"

namespace tk::headless {

class HeadlessBackend;

// One form's window, with the keyboard handling of a Win32 dialog.
class HeadlessFormPeer final : public tk::FormPeer {
 public:
  HeadlessFormPeer(HeadlessBackend& backend, Form& form);
  ~HeadlessFormPeer() override;

  void Show() override;
  void SetEnabled(bool enabled) override;
  void Destroy() override;
  int Left() const override { return left_; }
  int Top() const override { return top_; }
  void Move(int left, int top) override;
  void MoveFrom(const tk::FormPeer& anchor, int left, int top) override;
  void PostCloseRequest(std::int16_t unloadMode) override;

  Form& Owner() const { return form_; }
  bool Visible() const { return visible_; }
  bool Enabled() const { return enabled_; }
  bool Destroyed() const { return destroyed_; }
  HeadlessControlPeer* Focus() const { return focus_; }

  // Moves the focus, the control losing it hearing so first. `byKeyboard` is the dialog manager's
  // move (Tab, access key, first focus), which selects the whole text of a text box it lands on.
  void MoveFocus(HeadlessControlPeer* to, bool byKeyboard);
  void DropFocus(HeadlessControlPeer& from);  // the focused control was disabled

  // Focusable controls in tab order; the next one after `from` (wrapping), forwards or backwards.
  HeadlessControlPeer* NextTabStop(const Control* from, bool forwards) const;
  // The control whose caption has access key `key` (labels hand on to their next tab stop).
  bool ActivateAccessKey(char16_t key);

 private:
  HeadlessBackend& backend_;
  Form& form_;
  HeadlessControlPeer* focus_ = nullptr;
  bool visible_ = false, enabled_ = true, destroyed_ = false;
  int left_ = 1500, top_ = 1500;
};

}  // namespace tk::headless
