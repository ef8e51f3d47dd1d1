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

  // Builds the bar and the shortcuts' table; null for a form without menus. The window made with
  // the bar owns it from then on; the caller destroys it where no window could be made.
  HMENU Build();
  HACCEL Accelerators() const { return accelerators_.get(); }
  MenuItem* ItemOf(UINT command) const;

 private:
  const Form& form_;
  AcceleratorHandle accelerators_;
};

}  // namespace tk::win32
