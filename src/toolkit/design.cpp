#include "toolkit/design.h"

#include <cstdint>

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

int TwipsToPixels(int twips, int dpi) { return MulDivRounded(twips, dpi, 1440); }
int PixelsToTwips(int pixels, int dpi) { return MulDivRounded(pixels, 1440, dpi); }

char16_t AccessKey(std::u16string_view caption) {
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

std::u16string CaptionWithoutAccessMark(std::u16string_view caption) {
  std::u16string shown;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == u'&' && i + 1 < caption.size()) ++i;
    shown += caption[i];
  }
  return shown;
}

}  // namespace tk
