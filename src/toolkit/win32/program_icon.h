#pragma once
// The program's own module and its icon, resource 1 of the resource script.

#include "toolkit/win32/handles.h"
#include "toolkit/win32/windows_api.h"

namespace tk::win32 {

HINSTANCE ProgramInstance();

// The program icon at `size` pixels, loaded into `own`, which holds it from then on; where the
// program has none, the system's application icon, which is shared (`own` then stays empty).
// Not shared itself: Windows shares icons of its standard sizes only, and these follow the DPI.
HICON ProgramIcon(int size, IconHandle& own);

}  // namespace tk::win32
