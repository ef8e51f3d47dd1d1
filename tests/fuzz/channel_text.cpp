// Any text typed or pasted into a channel field, in either base: the cleaned text holds only what
// the base allows, stands for a component in 0..255, keeps the caret inside it, and is left as
// it is when cleaned again.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "editor/channel_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const int base = data[0] & 1;
  const int caret = static_cast<int>(data[1]) - 8;
  std::u16string text;
  for (std::size_t i = 2; i + 1 < size; i += 2) {
    text += static_cast<char16_t>(data[i] | data[i + 1] << 8);
  }
  const editor::ChannelEntry entry = editor::CleanChannelText(text, base, caret);
  if (entry.text.empty() || entry.value < 0 || entry.value > 255) std::abort();
  if (entry.caret < 0 || entry.caret > static_cast<int>(entry.text.size())) std::abort();
  int value = 0;
  for (char16_t c : entry.text) {
    const bool digit = c >= u'0' && c <= u'9';
    const bool hexLetter = base == 1 && c >= u'A' && c <= u'F';
    if (!digit && !hexLetter) std::abort();
    value = std::min(value * (base == 1 ? 16 : 10) + (digit ? c - u'0' : c - u'A' + 10), 256);
  }
  if (value != entry.value || (base == 1 && entry.text.size() > 2)) std::abort();
  const editor::ChannelEntry again = editor::CleanChannelText(entry.text, base, entry.caret);
  if (again.text != entry.text || again.value != entry.value || again.caret != entry.caret) {
    std::abort();
  }
  return 0;
}
