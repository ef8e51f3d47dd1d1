#include "editor/color_table.h"

#include "common/hex_digits.h"

namespace editor {

namespace {

// The digit of `value` (0 to 15).
char16_t Digit(int value) { return static_cast<char16_t>(common::kHexDigits[value]); }

}  // namespace

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
    code += Digit(value >> 4);
    code += Digit(value & 0xF);
  }
  return code;
}

std::uint32_t ColorCodeValue(const std::u16string& code) {
  std::size_t i = code.starts_with(u"&H") ? 2 : 0;
  std::uint32_t value = 0;
  for (; i < code.size(); ++i) {
    const int digit = common::HexDigitValue(code[i]);
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
  if (base == kHexadecimal) return {Digit(value >> 4 & 0xF), Digit(value & 0xF)};
  std::u16string digits;
  do {
    digits.insert(digits.begin(), Digit(value % 10));
    value /= 10;
  } while (value > 0);
  return digits;
}

}  // namespace editor
