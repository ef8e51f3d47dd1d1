#include "support/win32/native_windows.h"

#include <algorithm>
#include <functional>
#include <string>

#include "toolkit/win32/form_window.h"

namespace tktest {

using tk::win32::FormWindow;

namespace {

struct Search {
  const std::function<bool(const FormWindow&)>& accept;
  FormWindow* found = nullptr;
};

BOOL CALLBACK Consider(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<Search*>(data);
  FormWindow* candidate = FormWindow::FromHandle(window);
  if (candidate && candidate->Handle() && search.accept(*candidate)) search.found = candidate;
  return search.found == nullptr;
}

// The first of the thread's form windows that `accept` takes.
FormWindow* FindFormWindow(const std::function<bool(const FormWindow&)>& accept) {
  Search search{accept};
  EnumThreadWindows(GetCurrentThreadId(), &Consider, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

HWND WindowOf(const tk::Form* form) {
  const FormWindow* window =
      FindFormWindow([form](const FormWindow& candidate) { return &candidate.Owner() == form; });
  return window ? window->Handle() : nullptr;
}

HWND WindowOf(const tk::Control& control) {
  const tk::Form* parent = &control.Parent();
  const FormWindow* form = FindFormWindow(
      [parent](const FormWindow& candidate) { return &candidate.Owner() == parent; });
  const tk::win32::ControlWindow* window = form ? form->WindowOf(control) : nullptr;
  return window ? window->Handle() : nullptr;
}

tk::Control* ControlOf(HWND window) {
  for (HWND parent = window ? GetParent(window) : nullptr; parent; parent = GetParent(parent)) {
    if (const FormWindow* form = FormWindow::FromHandle(parent)) {
      const tk::win32::ControlWindow* control = form->ControlFor(window);
      return control ? &control->Owner() : nullptr;
    }
  }
  return nullptr;
}

tk::Form* FormOf(HWND window) {
  FormWindow* form = FormWindow::FromHandle(window);
  return form ? &form->Owner() : nullptr;
}

// The command of the item of `menu` or its sub-menus shown as `caption` (before a tab), as the
// user finds it; 0 for none, or for one that opens a sub-menu.
UINT CommandIn(HMENU menu, std::u16string_view caption) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
    const std::u16string_view shown(reinterpret_cast<const char16_t*>(text));
    const HMENU sub = GetSubMenu(menu, i);
    if (shown.substr(0, shown.find(u'\t')) == caption) {
      return sub ? 0 : GetMenuItemID(menu, i);
    }
    if (const UINT found = sub ? CommandIn(sub, caption) : 0) return found;
  }
  return 0;
}

HWND MenuCommandOf(const tk::MenuItem& item, UINT* command) {
  const FormWindow* form = FindFormWindow([&item](const FormWindow& candidate) {
    const auto& menus = candidate.Owner().Menus();
    return std::any_of(menus.begin(), menus.end(),
                       [&item](const auto& other) { return other.get() == &item; });
  });
  if (form && command) *command = CommandIn(GetMenu(form->Handle()), item.Spec().caption);
  return form ? form->Handle() : nullptr;
}

bool HasSubMenu(const tk::MenuItem& item, const tk::Form& form) {
  return std::any_of(form.Menus().begin(), form.Menus().end(),
                     [&item](const auto& other) { return other->Spec().parent == item.Name(); });
}

}  // namespace tktest
