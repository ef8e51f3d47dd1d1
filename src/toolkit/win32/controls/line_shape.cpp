#include "toolkit/win32/controls/line_shape.h"

#include <algorithm>

#include "toolkit/win32/handles.h"

namespace tk::win32 {

void LineShape::Draw(HDC dc, int dpi) const {
  const ControlSpec& line = *spec_;
  PenHandle pen(CreatePen(line.insideSolid ? PS_INSIDEFRAME : PS_SOLID, std::max(1, line.lineWidth),
                          GetSysColor(line.systemColor)));
  Selected selected(dc, pen.get());
  MoveToEx(dc, TwipsToPixels(line.x1, dpi), TwipsToPixels(line.y1, dpi), nullptr);
  LineTo(dc, TwipsToPixels(line.x2, dpi), TwipsToPixels(line.y2, dpi));
}

}  // namespace tk::win32
