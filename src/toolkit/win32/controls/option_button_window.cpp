#include "toolkit/win32/controls/option_button_window.h"

#include <algorithm>

#include "toolkit/win32/windows_calls.h"

namespace tk::win32 {

namespace {

WPARAM CheckState(bool checked) { return checked ? BST_CHECKED : BST_UNCHECKED; }

}  // namespace

OptionButtonWindow::OptionButtonWindow(FormWindow& form, OptionButton& option, HWND parent, UINT id,
                                       OptionGroup& group)
    : ControlWindow(form, option, parent, id,
                    {.className = "BUTTON",
                     .style = BS_AUTORADIOBUTTON,
                     .text = option.Spec().caption,
                     // Consecutive options form one group: arrow keys move within it.
                     .startsGroup = group.Empty()}),
      option_(option),
      group_(group) {
  if (!Handle()) return;  // the group keeps only members that stay
  group.Add(*this);
  WideOrAnsi().Send(Handle(), BM_SETCHECK, CheckState(option.Value()), 0);
}

void OptionButtonWindow::SetChecked(bool checked) {
  if (!Handle()) return;
  WideOrAnsi().Send(Handle(), BM_SETCHECK, CheckState(checked), 0);
  group_.UpdateTabStop();
}

void OptionButtonWindow::OnCommand(UINT code) {
  // Also sent when an option takes the focus unchecked (arrow keys): that selects it too.
  if (code == BN_CLICKED && Reporting()) option_.OnUserSelect();
}

bool OptionButtonWindow::Checked() const {
  return Handle() && WideOrAnsi().Send(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void OptionGroup::UpdateTabStop() const {
  if (members_.empty()) return;
  const auto checked =
      std::find_if(members_.begin(), members_.end(),
                   [](const OptionButtonWindow* member) { return member->Checked(); });
  const OptionButtonWindow* stop = checked != members_.end() ? *checked : members_.front();
  for (const OptionButtonWindow* member : members_) {
    if (!member->Handle()) continue;
    const LONG_PTR style = WideOrAnsi().Long(member->Handle(), GWL_STYLE);
    const LONG_PTR wanted =
        member == stop ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
    // Each change of style costs a repaint and, under Wine, trips to its server.
    if (wanted != style) WideOrAnsi().SetLong(member->Handle(), GWL_STYLE, wanted);
  }
}

}  // namespace tk::win32
