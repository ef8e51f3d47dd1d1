#include "editor/color_table.h"

namespace editor {

namespace {
constexpr std::u16string_view kDigits = u"0123456789ABCDEF";
}  // namespace

int DigitValue(char16_t c) {
  const std::size_t place = kDigits.find(c);
  return place == std::u16string_view::npos ? -1 : static_cast<int>(place);
}

std::uint32_t ColorValue(const ColorTable& table, int target) {
  const auto& c = table[target];
  return static_cast<std::uint32_t>(c[kRed] & 0xFF) |
         static_cast<std::uint32_t>(c[kGreen] & 0xFF) << 8 |
         static_cast<std::uint32_t>(c[kBlue] & 0xFF) << 16;
}

std::u16string ColorCode(const ColorTable& table, int target, bool withPrefix) {
  std::u16string code = withPrefix ? u"&H00" : u"00";
  for (int channel = kBlue; channel >= kRed; --channel) {
    const int value = table[target][channel] & 0xFF;
    code += kDigits[value >> 4];
    code += kDigits[value & 0xF];
  }
  return code;
}

std::uint32_t ColorCodeValue(const std::u16string& code) {
  std::size_t i = code.starts_with(u"&H") ? 2 : 0;
  std::uint32_t value = 0;
  for (; i < code.size(); ++i) {
    const int digit = DigitValue(code[i]);
    if (digit < 0) break;
    value = value << 4 | static_cast<std::uint32_t>(digit);
  }
  return value;
}

void StoreColorValue(ColorTable& table, std::uint32_t color, int target) {
  color &= 0x00FFFFFF;
  table[target][kRed] = static_cast<std::int16_t>(color & 0xFF);
  table[target][kGreen] = static_cast<std::int16_t>(color >> 8 & 0xFF);
  table[target][kBlue] = static_cast<std::int16_t>(color >> 16);
}

std::u16string ChannelText(int value, int base) {
  if (base == kHexadecimal) return {kDigits[value >> 4 & 0xF], kDigits[value & 0xF]};
  std::u16string digits;
  do {
    digits.insert(digits.begin(), kDigits[value % 10]);
    value /= 10;
  } while (value > 0);
  return digits;
}

}  // namespace editor
