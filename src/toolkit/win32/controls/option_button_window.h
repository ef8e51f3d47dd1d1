#pragma once
// An option button as a BUTTON auto radio button, and the group of the options of one container,
// which Tab enters at its selected member.

#include <vector>

#include "toolkit/win32/controls/control_window.h"

namespace tk::win32 {

class OptionGroup;

class OptionButtonWindow final : public ControlWindow {
 public:
  OptionButtonWindow(FormWindow& form, OptionButton& option, HWND parent, UINT id,
                     OptionGroup& group);

  void SetChecked(bool checked) override;
  void OnCommand(UINT code) override;
  bool Checked() const;

 private:
  OptionButton& option_;
  OptionGroup& group_;
};

class OptionGroup {
 public:
  bool Empty() const { return members_.empty(); }
  void Add(OptionButtonWindow& option) { members_.push_back(&option); }
  // Only the selected member (the first while none is) is a tab stop.
  void UpdateTabStop() const;

 private:
  std::vector<OptionButtonWindow*> members_;
};

}  // namespace tk::win32
