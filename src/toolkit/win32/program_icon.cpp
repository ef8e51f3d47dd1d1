#include "toolkit/win32/program_icon.h"

#include "common/win32/system_function.h"
#include "toolkit/win32/system_metrics.h"

namespace tk::win32 {

namespace {

constexpr int kProgramIconId = 1;

// A system metric at `dpi`: Windows 10 (1607) and later know it per DPI; before them it is the
// system's own, scaled from the system's DPI.
int MetricForDpi(int metric, int dpi) {
  using ForDpi = int(WINAPI*)(int, UINT);
  static const auto forDpi = common::win32::SystemFunction<ForDpi>(GetModuleHandleW(L"user32.dll"),
                                                                   "GetSystemMetricsForDpi");
  return forDpi ? forDpi(metric, static_cast<UINT>(dpi))
                : MulDiv(GetSystemMetrics(metric), dpi, SystemDpi());
}

}  // namespace

HINSTANCE ProgramInstance() { return GetModuleHandleW(nullptr); }

HICON ProgramIcon(int size) {
  auto icon = static_cast<HICON>(LoadImageW(ProgramInstance(), MAKEINTRESOURCEW(kProgramIconId),
                                            IMAGE_ICON, size, size, LR_SHARED));
  if (!icon) {
    icon = static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(32512) /* IDI_APPLICATION */,
                                         IMAGE_ICON, size, size, LR_SHARED));
  }
  return icon;
}

HICON LoadOwnProgramIcon(int size) {
  return static_cast<HICON>(
      LoadImageW(ProgramInstance(), MAKEINTRESOURCEW(kProgramIconId), IMAGE_ICON, size, size, 0));
}

void SetWindowIcons(HWND window, int dpi, WindowIcons& icons) {
  WindowIcons loaded{IconHandle(LoadOwnProgramIcon(MetricForDpi(SM_CXICON, dpi))),
                     IconHandle(LoadOwnProgramIcon(MetricForDpi(SM_CXSMICON, dpi)))};
  const struct {
    WPARAM kind;
    const IconHandle& icon;
    int fallbackSize;
  } shown[] = {{ICON_BIG, loaded.bigIcon, GetSystemMetrics(SM_CXICON)},
               {ICON_SMALL, loaded.smallIcon, GetSystemMetrics(SM_CXSMICON)}};
  for (const auto& [kind, icon, fallbackSize] : shown) {
    const HICON handle = icon ? icon.get() : ProgramIcon(fallbackSize);
    SendMessageW(window, WM_SETICON, kind, reinterpret_cast<LPARAM>(handle));
  }
  icons = std::move(loaded);
}

}  // namespace tk::win32
