#pragma once
// What a screen reader calls a control whose caption or label does not say it: the control's
// standard accessible object, with that name. Made when a screen reader first asks, so that
// oleacc and COM load only then.

#include <string_view>

#include "toolkit/win32/windows_api.h"

namespace tk::win32 {

// The answer to WM_GETOBJECT for the client object of `window`, named `name`; 0, the answer
// that lets the system make its own object, where oleacc or COM is missing or fails.
LRESULT AccessibleObjectNamed(HWND window, WPARAM wParam, std::u16string_view name);

}  // namespace tk::win32
