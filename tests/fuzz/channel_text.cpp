// Any text typed or pasted into a channel field, in either base: cleaned as the rule's words
// say, the caret inside the text, and cleaning it again changes nothing.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "editor/channel_rules.h"

// A "-" anywhere gives "0"; digits stay, in hexadecimal also A-F once upper-cased; nothing kept
// gives "0"; hexadecimal keeps the last two; decimal above 255 is "255", leading zeros stay.
static std::u16string Expected(const std::u16string& text, bool hex) {
  const std::u16string_view digits(u"0123456789ABCDEF", hex ? 16 : 10);
  std::u16string kept;
  for (char16_t c : text) {
    if (hex && c >= u'a' && c <= u'f') c = static_cast<char16_t>(c - u'a' + u'A');
    if (digits.find(c) != digits.npos) kept += c;
  }
  if (kept.empty() || text.find(u'-') != text.npos) return u"0";
  if (hex) return kept.substr(kept.size() - std::min<std::size_t>(kept.size(), 2));
  const std::u16string bare = kept.substr(std::min(kept.find_first_not_of(u'0'), kept.size() - 1));
  return bare.size() > 3 || (bare.size() == 3 && bare > u"255") ? u"255" : kept;
}

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
  const editor::ChannelEntry again = editor::CleanChannelText(entry.text, base, entry.caret);
  if (entry.text != expected ||
      entry.value !=
          std::stoi(std::string(expected.begin(), expected.end()), nullptr, base ? 16 : 10) ||
      entry.caret < 0 || entry.caret > static_cast<int>(entry.text.size()) ||
      again.text != entry.text || again.value != entry.value || again.caret != entry.caret) {
    std::abort();
  }
  return 0;
}
