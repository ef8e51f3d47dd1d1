#include "toolkit/win32/controls/picture_window.h"

#include <utility>

#include "toolkit/win32/form_window.h"
#include "toolkit/win32/program_icon.h"
#include "toolkit/win32/windows_calls.h"

namespace tk::win32 {

PictureWindow::PictureWindow(FormWindow& form, PictureBox& picture, HWND parent, UINT id)
    : ControlWindow(
          form, picture, parent, id,
          // SS_CENTERIMAGE keeps the static from resizing itself, border included.
          {.style = SS_ICON | SS_CENTERIMAGE,
           .exStyle = static_cast<DWORD>(picture.Spec().sunkenBorder ? WS_EX_CLIENTEDGE : 0)}),
      picture_(picture) {}

void PictureWindow::LayOut() {
  ControlWindow::LayOut();
  if (!Handle()) return;
  // 32 pixels at 96 DPI, growing with the DPI (the resource's 48-pixel image at 144 DPI).
  const int size = TwipsToPixels(480, form_.Dpi());
  if (picture_.Spec().showsIcon) {
    IconHandle icon;
    const HICON shown = ProgramIcon(size, icon);
    WideOrAnsi().Send(Handle(), STM_SETICON, reinterpret_cast<WPARAM>(shown), 0);
    icon_ = std::move(icon);  // the icon it replaced goes now
  }
  if (picture_.Spec().autoSize) FitAround(RECT{0, 0, size, size});
}

}  // namespace tk::win32
