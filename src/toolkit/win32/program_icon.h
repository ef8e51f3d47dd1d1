#pragma once
// The program's own module and its icon, resource 1 of the resource script.

#include "toolkit/win32/handles.h"
#include "toolkit/win32/windows_api.h"

namespace tk::win32 {

HINSTANCE ProgramInstance();

// The program icon at `size` pixels, loaded into `own`, which holds it from then on; where the
// program has none, the system's application icon, which is shared (`own` then stays empty).
HICON ProgramIcon(int size, IconHandle& own);

// A window's big icon (Alt+Tab, the taskbar) and small one (the title bar), as it shows them.
struct WindowIcons {
  IconHandle bigIcon;
  IconHandle smallIcon;
};

// Gives `window` the program icon at the sizes Windows draws a window's icons at `dpi`; `icons`
// then holds them, and lets go of the ones shown before.
void SetWindowIcons(HWND window, int dpi, WindowIcons& icons);

}  // namespace tk::win32
