#include "toolkit/contrast.h"

#include <algorithm>

namespace tk {

namespace {

// Relative luminance, with a gamma of 2 in place of sRGB's curve, from 0 (black) to kWhite.
constexpr std::int64_t kWhite = 650250000;
std::int64_t Luminance(std::uint32_t color) {
  const std::int64_t r = color & 0xFF, g = (color >> 8) & 0xFF, b = (color >> 16) & 0xFF;
  return 2126 * r * r + 7152 * g * g + 722 * b * b;
}

}  // namespace

// (L1 + 0.05) / (L2 + 0.05) >= 4.5, with the luminances from 0 to 1, in whole numbers.
bool TextReads(std::uint32_t text, std::uint32_t back) {
  const std::int64_t lighter = std::max(Luminance(text), Luminance(back));
  const std::int64_t darker = std::min(Luminance(text), Luminance(back));
  return 40 * lighter - 180 * darker >= 7 * kWhite;
}

}  // namespace tk
