#include "toolkit/win32/program_icon.h"

namespace tk::win32 {

namespace {

constexpr int kProgramIconId = 1;

}  // namespace

HINSTANCE ProgramInstance() { return GetModuleHandleW(nullptr); }

HICON ProgramIcon(int size, IconHandle& own) {
  own.reset(static_cast<HICON>(
      LoadImageW(ProgramInstance(), MAKEINTRESOURCEW(kProgramIconId), IMAGE_ICON, size, size, 0)));
  if (own) return own.get();
  return static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(32512) /* IDI_APPLICATION */,
                                       IMAGE_ICON, size, size, LR_SHARED));
}

}  // namespace tk::win32
