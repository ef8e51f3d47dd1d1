#pragma once
// A form's menu bar from its design, with the Ctrl shortcuts as an accelerator table. Each item's
// command id follows from its place in the design.

#include "toolkit/form.h"
#include "toolkit/win32/handles.h"
#include "toolkit/win32/windows_api.h"

namespace tk::win32 {

class MenuBar {
 public:
  explicit MenuBar(const Form& form) : form_(form) {}

  // Builds the bar and the shortcuts' table, all or nothing: false, with nothing of either left,
  // where Windows refused any part of them. `bar` stays null for a form without menus.
  bool Build(MenuHandle& bar);
  HACCEL Accelerators() const { return accelerators_.get(); }
  MenuItem* ItemOf(UINT command) const;

 private:
  const Form& form_;
  AcceleratorHandle accelerators_;
};

}  // namespace tk::win32
