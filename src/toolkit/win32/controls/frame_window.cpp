#include "toolkit/win32/controls/frame_window.h"

#include "toolkit/win32/form_window.h"
#include "toolkit/win32/windows_calls.h"

namespace tk::win32 {

FrameWindow::FrameWindow(FormWindow& form, Frame& frame, HWND parent, UINT id)
    : ControlWindow(form, frame, parent, id,
                    // The dialog manager looks inside for tab stops and access keys.
                    {.className = "BUTTON",
                     .style = BS_GROUPBOX,
                     .exStyle = WS_EX_CONTROLPARENT,
                     .text = frame.Spec().caption}),
      frame_(frame) {}

LRESULT FrameWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      return WideOrAnsi().Send(form_.Handle(), message, wParam, lParam);
    case WM_PAINT:
      if (frame_.Spec().caption.empty()) {
        Paint();
        return 0;
      } else {
        const LRESULT result = CallNext(message, wParam, lParam);
        WindowDc dc(Handle());
        form_.DrawLines(dc.Get(), frame_.Name());
        return result;
      }
    default:
      return CallNext(message, wParam, lParam);
  }
}

// A group box keeps room for a caption above its edge even without one; a frame without a caption
// has its edge on its bounds, so that edges placed outside the form stay hidden.
void FrameWindow::Paint() {
  PAINTSTRUCT paint{};
  const HDC dc = BeginPaint(Handle(), &paint);
  if (!dc) return;
  RECT bounds{};
  GetClientRect(Handle(), &bounds);
  DrawEdge(dc, &bounds, EDGE_ETCHED, BF_RECT);
  form_.DrawLines(dc, frame_.Name());
  EndPaint(Handle(), &paint);
}

}  // namespace tk::win32
