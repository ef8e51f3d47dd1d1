#include "toolkit/win32/controls/label_window.h"

#include "toolkit/win32/windows_calls.h"

namespace tk::win32 {

LabelWindow::LabelWindow(FormWindow& form, Label& label, HWND parent, UINT id)
    : ControlWindow(
          form, label, parent, id,
          {.style = static_cast<DWORD>(label.Spec().autoSize ? SS_LEFTNOWORDWRAP : SS_LEFT),
           .text = label.Caption()}),
      label_(label) {}

void LabelWindow::LayOut() {
  ControlWindow::LayOut();
  FitToCaption();
}

void LabelWindow::SetText(const std::u16string& text) {
  ControlWindow::SetText(text);
  FitToCaption();
}

void LabelWindow::FitToCaption() {
  if (!label_.Spec().autoSize || !Handle()) return;
  // A memory DC measures as the screen does, without the window's clipping set up for it.
  const MemoryDc dc(CreateCompatibleDC(nullptr));
  Selected font(dc.get(), reinterpret_cast<HGDIOBJ>(WideOrAnsi().Send(Handle(), WM_GETFONT, 0, 0)));
  // DrawText measures the caption as the static shows it, without the access-key mark.
  FitAround(
      WideOrAnsi().MeasureText(dc.get(), WideOrAnsi().Text(Handle()), DT_SINGLELINE | DT_LEFT));
}

}  // namespace tk::win32
