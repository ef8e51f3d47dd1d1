#pragma once
// DPI, window-frame and font services that newer Windows versions offer per window; on older
// systems the functions are missing and the system-wide values stand in.

#include <string>

#include "toolkit/design.h"
#include "toolkit/win32/handles.h"
#include "toolkit/win32/windows_api.h"

namespace tk::win32 {

int DpiOf(HWND window);
int SystemDpi();

// GetSystemMetrics(metric) as at `dpi`.
int SystemMetricAt(int metric, int dpi);

// The outer size of a window whose client area is `clientWidth` x `clientHeight` pixels.
SIZE OuterSizeFor(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, bool hasMenu,
                  int dpi);

// The system's message font (the default user-interface font) at `dpi`.
FontHandle CreateMessageFont(int dpi);

// The face on this system for `requested` (FaceFor), looked up once per face.
std::u16string FaceInUse(const std::u16string& requested);

// The font `spec` names at `dpi`; an empty face is the system's user-interface font, in its own
// character set.
FontHandle CreateNamedFont(const FontSpec& spec, int dpi);

// Whether the font `spec` names is made in its character set: where no font of the system has it,
// Windows maps the request to a font of another. TEXTMETRIC's character set is the question every
// version answers, from Windows 95 and NT 3.1 on.
bool MakesCharset(const FontSpec& spec);
// The character set of the system's user-interface font (DEFAULT_GUI_FONT, from Windows 95 and
// NT 4.0 on): the system's own language; -1 where it cannot be told.
int SystemFontCharset();

}  // namespace tk::win32
