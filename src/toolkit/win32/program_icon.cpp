#include "toolkit/win32/program_icon.h"

namespace tk::win32 {

namespace {

constexpr int kProgramIconId = 1;

}  // namespace

HINSTANCE ProgramInstance() { return GetModuleHandleA(nullptr); }

HICON ProgramIcon(int size) {
  auto icon = static_cast<HICON>(LoadImageA(ProgramInstance(), MAKEINTRESOURCEA(kProgramIconId),
                                            IMAGE_ICON, size, size, LR_SHARED));
  if (!icon) {
    icon = static_cast<HICON>(LoadImageA(nullptr, MAKEINTRESOURCEA(32512) /* IDI_APPLICATION */,
                                         IMAGE_ICON, size, size, LR_SHARED));
  }
  return icon;
}

HICON LoadOwnProgramIcon(int size) {
  return static_cast<HICON>(
      LoadImageA(ProgramInstance(), MAKEINTRESOURCEA(kProgramIconId), IMAGE_ICON, size, size, 0));
}

}  // namespace tk::win32
