#include "toolkit/win32/picture_window.h"

#include "toolkit/win32/form_window.h"
#include "toolkit/win32/program_icon.h"
#include "toolkit/win32/windows_calls.h"

namespace tk::win32 {

PictureWindow::PictureWindow(FormWindow& form, PictureBox& picture, HWND parent, UINT id)
    : ControlWindow(
          form, picture, parent, id,
          // SS_CENTERIMAGE keeps the static from resizing itself, border included.
          {.style = SS_ICON | SS_CENTERIMAGE,
           .exStyle = static_cast<DWORD>(picture.Spec().sunkenBorder ? WS_EX_CLIENTEDGE : 0)}) {
  if (!Handle()) return;
  // 32 pixels at 96 DPI. Not shared: LoadImage shares icons of the system's standard sizes only,
  // and this one grows with the DPI (the resource's 48-pixel image at 144 DPI).
  const int size = TwipsToPixels(480, form.Dpi());
  if (picture.Spec().showsIcon) {
    icon_.reset(LoadOwnProgramIcon(size));
    const HICON icon = icon_ ? icon_.get() : ProgramIcon(size);
    Windows().Send(Handle(), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  }
  if (picture.Spec().autoSize) FitAround(RECT{0, 0, size, size});
}

}  // namespace tk::win32
