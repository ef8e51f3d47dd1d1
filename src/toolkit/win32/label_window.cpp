#include "toolkit/win32/label_window.h"

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
  WindowDc dc(Handle());
  Selected font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(Handle(), WM_GETFONT, 0, 0)));
  const std::u16string caption = WindowText(Handle());
  RECT content{0, 0, 0, 0};
  // DrawText measures the caption as the static shows it, without the access-key mark.
  DrawTextW(dc.Get(), WidePtr(caption), static_cast<int>(caption.size()), &content,
            DT_CALCRECT | DT_SINGLELINE | DT_LEFT);
  FitAround(content);
}

}  // namespace tk::win32
