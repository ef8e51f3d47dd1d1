// Any text typed or pasted into a channel field, in either base: the cleaned text and its
// component are what the rule's words give, the caret stays inside the text, and cleaning again
// changes nothing.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "editor/channel_rules.h"

namespace {

// A "-" anywhere gives "0"; digits stay, in hexadecimal also A-F once upper-cased; nothing kept
// gives "0"; hexadecimal keeps the last two; decimal above 255 is "255", leading zeros stay.
std::u16string Expected(const std::u16string& text, bool hex) {
  const std::u16string_view digits(u"0123456789ABCDEF", hex ? 16 : 10);
  std::u16string kept;
  for (char16_t c : text) {
    if (c == u'-') return u"0";
    if (hex && c >= u'a' && c <= u'f') c = static_cast<char16_t>(c - u'a' + u'A');
    if (digits.find(c) != std::u16string_view::npos) kept += c;
  }
  if (kept.empty()) return u"0";
  if (hex) return kept.substr(kept.size() - std::min<std::size_t>(kept.size(), 2));
  const std::u16string number =
      kept.substr(std::min(kept.find_first_not_of(u'0'), kept.size() - 1));
  return number.size() > 3 || (number.size() == 3 && number > u"255") ? u"255" : kept;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const int base = data[0] & 1;
  const int caret = static_cast<int>(data[1]) - 8;
  std::u16string text;
  for (std::size_t i = 2; i + 1 < size; i += 2) {
    text += static_cast<char16_t>(data[i] | data[i + 1] << 8);
  }
  const editor::ChannelEntry entry = editor::CleanChannelText(text, base, caret);
  const std::u16string expected = Expected(text, base == 1);
  const std::string ascii(expected.begin(), expected.end());
  if (entry.text != expected || entry.value != std::stoi(ascii, nullptr, base == 1 ? 16 : 10)) {
    std::abort();
  }
  if (entry.caret < 0 || entry.caret > static_cast<int>(entry.text.size())) std::abort();
  const editor::ChannelEntry again = editor::CleanChannelText(entry.text, base, entry.caret);
  if (again.text != entry.text || again.value != entry.value || again.caret != entry.caret) {
    std::abort();
  }
  return 0;
}
