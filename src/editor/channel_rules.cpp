#include "editor/channel_rules.h"

#include <algorithm>

#include "common/hex_digits.h"
#include "common/shift_state.h"
#include "editor/color_table.h"

namespace editor {

namespace {

constexpr int kLargest = 255;

}  // namespace

ChannelEntry CleanChannelText(std::u16string_view text, int base, int caret) {
  const int radix = base == kHexadecimal ? 16 : 10;
  ChannelEntry entry;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c == u'-') return {u"0", 0, 1};
    if (base == kHexadecimal && c >= u'a' && c <= u'f') c -= u'a' - u'A';
    const int digit = common::HexDigitValue(c);
    if (digit < 0 || digit >= radix) continue;
    entry.text += c;
    if (static_cast<std::ptrdiff_t>(i) < caret) ++entry.caret;
  }
  if (entry.text.empty()) return {u"0", 0, 1};

  if (base == kHexadecimal) {
    const std::size_t dropped = entry.text.size() > 2 ? entry.text.size() - 2 : 0;
    entry.text.erase(0, dropped);
    entry.caret = std::max(0, entry.caret - static_cast<int>(dropped));
  }
  // Two hexadecimal digits never pass 255.
  for (char16_t c : entry.text) {
    entry.value = std::min(entry.value * radix + common::HexDigitValue(c), kLargest + 1);
  }
  if (entry.value > kLargest) {
    entry.value = kLargest;
    entry.text = u"255";
    entry.caret = std::min(entry.caret, 3);
  }
  return entry;
}

int StepSize(std::int16_t shift, int base) {
  if (shift & common::kCtrlBit) return kLargest;
  if (shift & common::kShiftBit) return base == kHexadecimal ? 16 : 10;
  return 1;
}

std::u16string SteppedText(int value, int delta, int base) {
  const int stepped = value + delta;
  if (base == kHexadecimal) {
    const std::u16string digits = ChannelText(std::clamp(stepped, 0, kLargest), base);
    return digits[0] == u'0' ? digits.substr(1) : digits;
  }
  if (stepped == 0) return {};
  return stepped < 0 ? u"-" + ChannelText(-stepped, base) : ChannelText(stepped, base);
}

std::u16string LeftText(std::u16string_view text, int value, int base) {
  std::u16string left = text.empty() || value == 0 ? u"0" : std::u16string(text);
  if (base == kHexadecimal && left.size() == 1) left.insert(left.begin(), u'0');
  return left;
}

}  // namespace editor
