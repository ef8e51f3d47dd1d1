#include "toolkit/win32/program_icon.h"

#include "toolkit/win32/system_metrics.h"
#include "toolkit/win32/windows_calls.h"

namespace tk::win32 {

namespace {

constexpr int kProgramIconId = 1;

// Never LR_SHARED: Windows 95, 98 and ME keep one shared image per resource name and hand it out
// for every size asked, so the second size would be the first one stretched.
HICON LoadProgramIcon(int size) {
  return static_cast<HICON>(
      LoadImageA(ProgramInstance(), MAKEINTRESOURCEA(kProgramIconId), IMAGE_ICON, size, size, 0));
}

HICON SystemApplicationIcon(int size) {
  return static_cast<HICON>(LoadImageA(nullptr, MAKEINTRESOURCEA(32512) /* IDI_APPLICATION */,
                                       IMAGE_ICON, size, size, LR_SHARED));
}

}  // namespace

HINSTANCE ProgramInstance() { return GetModuleHandleA(nullptr); }

HICON ProgramIcon(int size, IconHandle& own) {
  own.reset(LoadProgramIcon(size));
  return own ? own.get() : SystemApplicationIcon(size);
}

void SetWindowIcons(HWND window, int dpi, WindowIcons& icons) {
  WindowIcons loaded;
  const HICON big = ProgramIcon(SystemMetricAt(SM_CXICON, dpi), loaded.bigIcon);
  const HICON small = ProgramIcon(SystemMetricAt(SM_CXSMICON, dpi), loaded.smallIcon);
  WideOrAnsi().Send(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  WideOrAnsi().Send(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  icons = std::move(loaded);  // the icons replaced go now
}

}  // namespace tk::win32
