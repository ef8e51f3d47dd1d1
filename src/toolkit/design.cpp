#include "toolkit/design.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace tk {

namespace {
int MulDivRounded(int value, int numerator, int denominator) {
  const std::int64_t product = static_cast<std::int64_t>(value) * numerator;
  const std::int64_t half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator
                                       : -((-product + half) / denominator));
}

char16_t Upper(char16_t c) { return (c >= u'a' && c <= u'z') ? c - u'a' + u'A' : c; }
}  // namespace

ControlSpec MakeControl(std::string name, int index, ControlKind kind, std::u16string caption,
                        Place place, int tabIndex, int stacking) {
  ControlSpec spec;
  spec.name = std::move(name);
  spec.index = index;
  spec.kind = kind;
  spec.caption = std::move(caption);
  spec.left = place.left;
  spec.top = place.top;
  spec.width = place.width;
  spec.height = place.height;
  spec.tabIndex = tabIndex;
  spec.stacking = stacking;
  return spec;
}

ControlSpec MakeLine(std::string name, int index, int x1, int y1, int x2, int y2, int systemColor,
                     int width, bool insideSolid, int stacking) {
  ControlSpec spec = MakeControl(std::move(name), index, ControlKind::kLine, u"",
                                 {std::min(x1, x2), std::min(y1, y2), x2 > x1 ? x2 - x1 : x1 - x2,
                                  y2 > y1 ? y2 - y1 : y1 - y2},
                                 -1, stacking);
  spec.x1 = x1;
  spec.y1 = y1;
  spec.x2 = x2;
  spec.y2 = y2;
  spec.systemColor = systemColor;
  spec.lineWidth = width;
  spec.insideSolid = insideSolid;
  return spec;
}

int TwipsToPixels(int twips, int dpi) { return MulDivRounded(twips, dpi, 1440); }
int PixelsToTwips(int pixels, int dpi) { return MulDivRounded(pixels, 1440, dpi); }

char16_t AccessKey(const std::u16string& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != u'&') continue;
    if (caption[i + 1] == u'&') {
      ++i;
      continue;
    }
    return Upper(caption[i + 1]);
  }
  return 0;
}

std::u16string CaptionWithoutAccessMark(const std::u16string& caption) {
  std::u16string shown;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == u'&' && i + 1 < caption.size()) ++i;
    shown += caption[i];
  }
  return shown;
}

}  // namespace tk
