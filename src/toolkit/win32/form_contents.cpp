// What a form's design puts into its window: the menu bar with its shortcuts and the control
// windows in tab order with the form's tables of them.

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

// Control ids start above IDOK and IDCANCEL, which the dialog manager sends for Enter and Esc.
constexpr UINT kFirstControlId = 100;
constexpr UINT kFirstMenuId = 1000;

}  // namespace

void FormWindow::BuildMenu(HMENU& bar) {
  const auto& menus = form_.Menus();
  if (menus.empty()) return;
  auto hasChildren = [&menus](std::string_view name) {
    return std::any_of(menus.begin(), menus.end(),
                       [&name](const auto& item) { return item->Spec().parent == name; });
  };
  std::vector<ACCEL> shortcuts;
  std::function<void(HMENU, std::string_view)> fill = [&](HMENU menu, std::string_view parent) {
    for (std::size_t i = 0; i < menus.size(); ++i) {
      const MenuSpec& spec = menus[i]->Spec();
      if (spec.parent != parent) continue;
      if (menus[i]->IsSeparator()) {
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        continue;
      }
      const auto id = static_cast<UINT>(kFirstMenuId + i);
      std::u16string text(spec.caption);
      if (spec.shortcut != 0) {
        // Text after a tab is drawn right-aligned in the menu's shortcut column.
        text += u"\tCtrl+";
        text += spec.shortcut;
        shortcuts.push_back(
            ACCEL{FVIRTKEY | FCONTROL, static_cast<WORD>(spec.shortcut), static_cast<WORD>(id)});
      }
      if (hasChildren(spec.name)) {
        MenuHandle popup(CreatePopupMenu());
        fill(popup.get(), spec.name);
        if (WideOrAnsi().AppendMenuItem(menu, MF_POPUP | MF_STRING,
                                        reinterpret_cast<UINT_PTR>(popup.get()), text)) {
          popup.release();  // now part of `menu`
        }
      } else {
        WideOrAnsi().AppendMenuItem(menu, MF_STRING, id, text);
      }
    }
  };
  MenuHandle menuBar(CreateMenu());
  if (!menuBar) return;
  fill(menuBar.get(), {});
  if (!shortcuts.empty()) {
    accelerators_.reset(
        WideOrAnsi().NewAcceleratorTable(shortcuts.data(), static_cast<int>(shortcuts.size())));
  }
  bar = menuBar.release();
}

UINT FormWindow::CommandOf(const MenuItem& item) const {
  const auto& menus = form_.Menus();
  for (std::size_t i = 0; i < menus.size(); ++i) {
    if (menus[i].get() == &item) return static_cast<UINT>(kFirstMenuId + i);
  }
  return 0;
}

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

MenuItem* FormWindow::MenuById(UINT id) const {
  const auto& menus = form_.Menus();
  if (id < kFirstMenuId || id - kFirstMenuId >= menus.size()) return nullptr;
  return menus[id - kFirstMenuId].get();
}

}  // namespace tk::win32
