#include "toolkit/win32/menu_bar.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/win32/windows_calls.h"

namespace tk::win32 {

namespace {

// Above the controls' ids.
constexpr UINT kFirstMenuId = 1000;

}  // namespace

bool MenuBar::Build(MenuHandle& bar) {
  const auto& menus = form_.Menus();
  if (menus.empty()) return true;
  auto hasChildren = [&menus](std::string_view name) {
    return std::any_of(menus.begin(), menus.end(),
                       [&name](const auto& item) { return item->Spec().parent == name; });
  };
  std::vector<ACCEL> shortcuts;
  // False where Windows refused an item; a sub-menu not yet appended goes with its handle.
  std::function<bool(HMENU, std::string_view)> fill = [&](HMENU menu, std::string_view parent) {
    for (std::size_t i = 0; i < menus.size(); ++i) {
      const MenuSpec& spec = menus[i]->Spec();
      if (spec.parent != parent) continue;
      if (menus[i]->IsSeparator()) {
        if (!AppendMenuA(menu, MF_SEPARATOR, 0, nullptr)) return false;
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
        if (!popup || !fill(popup.get(), spec.name) ||
            !WideOrAnsi().AppendMenuItem(menu, MF_POPUP | MF_STRING,
                                         reinterpret_cast<UINT_PTR>(popup.get()), text)) {
          return false;
        }
        popup.release();  // now part of `menu`
      } else if (!WideOrAnsi().AppendMenuItem(menu, MF_STRING, id, text)) {
        return false;
      }
    }
    return true;
  };
  // Destroying the bar destroys its sub-menus with it.
  MenuHandle menuBar(CreateMenu());
  if (!menuBar || !fill(menuBar.get(), {})) return false;
  if (!shortcuts.empty()) {
    accelerators_.reset(
        WideOrAnsi().NewAcceleratorTable(shortcuts.data(), static_cast<int>(shortcuts.size())));
    if (!accelerators_) return false;
  }
  bar = std::move(menuBar);
  return true;
}

MenuItem* MenuBar::ItemOf(UINT command) const {
  const auto& menus = form_.Menus();
  if (command < kFirstMenuId || command - kFirstMenuId >= menus.size()) return nullptr;
  return menus[command - kFirstMenuId].get();
}

}  // namespace tk::win32
