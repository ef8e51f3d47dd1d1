#pragma once
// What a screen reader calls a control whose caption or label does not say it. Where the system
// offers annotation (oleacc 2: XP on; 98, NT 4.0 and 2000 with the Active Accessibility 2.0
// update) the name is set on the control's own accessible object, so that the system's objects,
// and UI Automation's proxies on Windows 7 on, keep everything else they know of the control (the
// text of an edit, say). Elsewhere the control answers WM_GETOBJECT with the system's object
// wrapped to say the name. Done when an accessibility client first asks, so that oleacc and COM
// load only then.

#include <string_view>

#include "toolkit/win32/windows_api.h"

namespace tk::win32 {

// Names the client object of `window` `name` by annotation; false where the system cannot.
bool AnnotateName(HWND window, std::u16string_view name);
// Takes back what AnnotateName set, before the window goes.
void ClearAnnotatedName(HWND window);

// The answer to WM_GETOBJECT for the client object of `window`, named `name`; 0, the answer
// that lets the system make its own object, where oleacc or COM is missing or fails.
LRESULT AccessibleObjectNamed(HWND window, WPARAM wParam, std::u16string_view name);

}  // namespace tk::win32
