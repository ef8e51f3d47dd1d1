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

HMENU MenuBar::Build() {
  const auto& menus = form_.Menus();
  if (menus.empty()) return nullptr;
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
  if (!menuBar) return nullptr;
  fill(menuBar.get(), {});
  if (!shortcuts.empty()) {
    accelerators_.reset(
        WideOrAnsi().NewAcceleratorTable(shortcuts.data(), static_cast<int>(shortcuts.size())));
  }
  return menuBar.release();
}

MenuItem* MenuBar::ItemOf(UINT command) const {
  const auto& menus = form_.Menus();
  if (command < kFirstMenuId || command - kFirstMenuId >= menus.size()) return nullptr;
  return menus[command - kFirstMenuId].get();
}

}  // namespace tk::win32
