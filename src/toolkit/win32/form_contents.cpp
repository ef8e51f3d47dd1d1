// What a form's design puts into its window: the control windows in tab order with the form's
// tables of them.

#include <algorithm>
#include <climits>
#include <functional>

#include "toolkit/win32/controls/edit_window.h"
#include "toolkit/win32/controls/frame_window.h"
#include "toolkit/win32/controls/label_window.h"
#include "toolkit/win32/controls/picture_window.h"
#include "toolkit/win32/form_window.h"
#include "toolkit/win32/system_metrics.h"
#include "toolkit/win32/windows_calls.h"

namespace tk::win32 {

namespace {

// Control ids start above IDOK and IDCANCEL, which the dialog manager sends for Enter and Esc;
// the menu bar's commands come after them.
constexpr UINT kFirstControlId = 100;

}  // namespace

bool FormWindow::HasDefaultButton() const {
  const auto& controls = form_.Spec().controls;
  return std::any_of(controls.begin(), controls.end(),
                     [](const ControlSpec& control) { return control.defaultButton; });
}

// Makes each control's window as its kind asks (the control calls the overload of its kind) and
// enters it in the form's tables: by id for its notifications, the option groups, the default and
// cancel buttons, the lines each container draws.
class FormWindow::ControlMaker final : public PeerFactory {
 public:
  ControlMaker(FormWindow& form, HWND parent, UINT id) : form_(form), parent_(parent), id_(id) {}

  std::unique_ptr<ControlPeer> Create(TextBox& box) override { return Enter<EditWindow>(box); }
  std::unique_ptr<ControlPeer> Create(CommandButton& button) override {
    auto window = Enter<PushButtonWindow>(button);
    if (button.Spec().defaultButton && !form_.defaultButton_) form_.defaultButton_ = window.get();
    if (button.Spec().cancelButton && !form_.cancelButton_) form_.cancelButton_ = window.get();
    return window;
  }
  std::unique_ptr<ControlPeer> Create(OptionButton& option) override {
    return Enter<OptionButtonWindow>(option, form_.OptionGroupOf(option.Spec().container));
  }
  std::unique_ptr<ControlPeer> Create(Label& label) override { return Enter<LabelWindow>(label); }
  std::unique_ptr<ControlPeer> Create(Frame& frame) override {
    auto window = Enter<FrameWindow>(frame);
    if (window) form_.CreateControls(frame.Name(), window->Handle());
    return window;
  }
  std::unique_ptr<ControlPeer> Create(Line& line) override {
    // Back to front, so that the front-most line is drawn last.
    auto& lines = form_.lines_;
    const auto place = std::find_if(lines.begin(), lines.end(), [&line](const LineShape& other) {
      return other.Stacking() < line.Spec().stacking;
    });
    lines.insert(place, LineShape(line.Spec()));
    return nullptr;
  }
  std::unique_ptr<ControlPeer> Create(PictureBox& picture) override {
    return Enter<PictureWindow>(picture);
  }

 private:
  template <class Window, class Kind, class... More>
  std::unique_ptr<Window> Enter(Kind& control, More&... more) {
    auto window = std::make_unique<Window>(form_, control, parent_, id_, more...);
    if (!window->Handle()) {
      form_.complete_ = false;
      return nullptr;
    }
    window->LayOut();
    window->Subclass();
    form_.controls_[id_ - kFirstControlId] = window.get();
    return window;
  }

  FormWindow& form_;
  HWND parent_;
  UINT id_;
};

void FormWindow::CreateControls(std::string_view container, HWND parent) {
  const auto& controls = form_.Controls();
  // Win32 takes the tab order, and the field a label's access key leads to, from the z-order of
  // sibling windows, so the windows are created in tab order; a frame stands where its first
  // member does. Only frames overlap other controls, and they are transparent to paint and mouse.
  // A label that names a control further on stands right before it, so that screen readers
  // take the label as the control's name.
  std::function<long long(const Control&)> tabKey = [&](const Control& control) -> long long {
    const ControlSpec& spec = control.Spec();
    if (!spec.names.empty()) return tabKey(form_.Find(spec.names, spec.namesIndex)) - 1;
    long long key = spec.tabIndex >= 0 ? 2LL * spec.tabIndex : LLONG_MAX;
    for (const auto& member : controls) {
      if (member->Spec().container == control.Name()) key = std::min(key, tabKey(*member));
    }
    return key;
  };
  std::vector<std::size_t> members;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i]->Spec().container == container) members.push_back(i);
  }
  std::stable_sort(members.begin(), members.end(), [&](std::size_t a, std::size_t b) {
    return tabKey(*controls[a]) < tabKey(*controls[b]);
  });
  for (const std::size_t index : members) {
    ControlMaker maker(*this, parent, static_cast<UINT>(kFirstControlId + index));
    Control& control = *controls[index];
    if (auto peer = control.CreatePeer(maker)) control.AttachPeer(std::move(peer));
  }
  for (const auto& [name, group] : optionGroups_) group->UpdateTabStop();
}

OptionGroup& FormWindow::OptionGroupOf(std::string_view container) {
  for (const auto& [name, group] : optionGroups_) {
    if (name == container) return *group;
  }
  return *optionGroups_.emplace_back(container, std::make_unique<OptionGroup>()).second;
}

ControlWindow* FormWindow::ControlById(UINT id) const {
  if (id < kFirstControlId || id - kFirstControlId >= controls_.size()) return nullptr;
  return controls_[id - kFirstControlId];
}

ControlWindow* FormWindow::ControlFor(HWND window) const {
  ControlWindow* control = window ? ControlById(static_cast<UINT>(GetDlgCtrlID(window))) : nullptr;
  return control && control->Handle() == window ? control : nullptr;
}

ControlWindow* FormWindow::WindowOf(const Control& control) const {
  const auto& controls = form_.Controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].get() == &control) return controls_[i];
  }
  return nullptr;
}

}  // namespace tk::win32
