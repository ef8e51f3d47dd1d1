// A form's window at its DPI: its size, its fonts and icons, every control placed from the
// design, and its position in twips. Windows reports a new DPI when the window moves to a screen
// of another scale or the scale changes while it runs; everything is then laid out afresh by the
// same code as at creation.

#include <utility>

#include "toolkit/win32/form_window.h"
#include "toolkit/win32/program_icon.h"
#include "toolkit/win32/system_metrics.h"
#include "toolkit/win32/windows_calls.h"

namespace tk::win32 {

bool FormWindow::CreateWindowFor(HWND owner) {
  const FormSpec& spec = form_.Spec();
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  if (spec.minButton) style |= WS_MINIMIZEBOX;
  if (spec.maxButton) style |= WS_MAXIMIZEBOX;
  DWORD exStyle = WS_EX_CONTROLPARENT;
  if (spec.border == BorderStyle::kFixedDialog) exStyle |= WS_EX_DLGMODALFRAME;
  if (form_.FileDropped) exStyle |= WS_EX_ACCEPTFILES;

  MenuHandle bar;
  if (!menu_.Build(bar)) return false;
  const int systemDpi = SystemDpi();
  const SIZE guess = OuterSizeFor(TwipsToPixels(spec.clientWidth, systemDpi),
                                  TwipsToPixels(spec.clientHeight, systemDpi), style, exStyle,
                                  bar != nullptr, systemDpi);
  window_ =
      WideOrAnsi().NewWindow(exStyle, reinterpret_cast<const char*>(MAKEINTATOM(WindowClass())),
                             std::u16string(spec.caption), style, CW_USEDEFAULT, CW_USEDEFAULT,
                             guess.cx, guess.cy, owner, nullptr, this);
  // The bar is given to the window once it exists. A window refused after its WM_NCCREATE has
  // destroyed the menu it was made with, and Windows 9x gives the handle to the next menu made at
  // once: the bar would be another's by the time the refusal is known.
  if (!window_ || (bar && !SetMenu(window_, bar.get()))) return false;
  bar.release();  // the window's from now on
  // The window's own DPI decides.
  LayOut(DpiOf(window_));
  return true;
}

void FormWindow::LayOut(int dpi) {
  dpi_ = dpi;
  // The fonts of the old DPI stay until every control has been given its new one.
  const FormFonts oldFonts = std::exchange(fonts_, FormFonts(dpi_));
  WideOrAnsi().Send(window_, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(ControlSpec{})), FALSE);
  ShowIcons();
  SizeClientToDesign();
  for (ControlWindow* control : controls_) {
    if (control) control->LayOut();
  }
}

// The frame and the caption at `dpi` around the design's client area, and the menu bar in as many
// rows as it takes there (AdjustWindowRectEx counts one): its items as wide as drawn now, scaled
// from the DPI they are drawn at, wrap where the next does not fit, each further row a menu bar's
// height less the line under it.
SIZE FormWindow::OuterSizeAt(int dpi) const {
  const int width = TwipsToPixels(form_.Spec().clientWidth, dpi);
  const HMENU bar = GetMenu(window_);
  const auto style = static_cast<DWORD>(WideOrAnsi().Long(window_, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(WideOrAnsi().Long(window_, GWL_EXSTYLE));
  SIZE outer = OuterSizeFor(width, TwipsToPixels(form_.Spec().clientHeight, dpi), style, exStyle,
                            bar != nullptr, dpi);
  const int drawnAt = DpiOf(window_);
  RECT item{};
  for (int i = 0, row = 0; bar && GetMenuItemRect(window_, bar, i, &item); ++i) {
    const int itemWidth = MulDiv(item.right - item.left, dpi, drawnAt);
    if (row > 0 && row + itemWidth > width) {
      outer.cy += SystemMetricAt(SM_CYMENU, dpi) - 1;
      row = 0;
    }
    row += itemWidth;
  }
  return outer;
}

// What the estimate of a menu bar that wraps misses is measured and made up.
void FormWindow::SizeClientToDesign() {
  const int width = TwipsToPixels(form_.Spec().clientWidth, dpi_);
  const int height = TwipsToPixels(form_.Spec().clientHeight, dpi_);
  SIZE outer = OuterSizeAt(dpi_);
  SetWindowPos(window_, nullptr, 0, 0, outer.cx, outer.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT client{};
  GetClientRect(window_, &client);
  if (client.right != width || client.bottom != height) {
    outer.cx += width - client.right;
    outer.cy += height - client.bottom;
    SetWindowPos(window_, nullptr, 0, 0, outer.cx, outer.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void FormWindow::ShowIcons() {
  // At the system's DPI the class's icons are the right ones, and setting a window's own costs a
  // round of the window manager's at start.
  if (!form_.Spec().showsIcon || (dpi_ == SystemDpi() && !iconsOfItsOwn_)) return;
  SetWindowIcons(window_, dpi_, icons_);
  iconsOfItsOwn_ = true;
}

// Where Windows suggests, in the size the window answered to WM_GETDPISCALEDSIZE where it asked:
// the layout then keeps the window as placed, under the cursor that drags it.
void FormWindow::OnDpiChanged(int dpi, const RECT& suggested) {
  if (!window_ || dpi <= 0) return;
  SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  LayOut(dpi);
  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

int FormWindow::Left() const {
  RECT rect{};
  if (!window_ || !GetWindowRect(window_, &rect)) return 0;
  return PixelsToTwips(rect.left, dpi_);
}

int FormWindow::Top() const {
  RECT rect{};
  if (!window_ || !GetWindowRect(window_, &rect)) return 0;
  return PixelsToTwips(rect.top, dpi_);
}

void FormWindow::Move(int left, int top) {
  if (!window_) return;
  SetWindowPos(window_, nullptr, TwipsToPixels(left, dpi_), TwipsToPixels(top, dpi_), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// In screen pixels from the anchor's corner: twips of two windows at two DPIs do not add up.
void FormWindow::MoveFrom(const FormPeer& anchor, int left, int top) {
  RECT corner{};
  if (!window_ || !GetWindowRect(static_cast<const FormWindow&>(anchor).Handle(), &corner)) return;
  SetWindowPos(window_, nullptr, corner.left + TwipsToPixels(left, dpi_),
               corner.top + TwipsToPixels(top, dpi_), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tk::win32
