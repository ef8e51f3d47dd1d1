// Any text typed or pasted into the ID field: the filter keeps only ASCII digits, in order, and
// puts the caret inside the new text.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "store/owner_id.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const int caret = static_cast<int>(data[0] | data[1] << 8) - 100;
  std::u16string text;
  for (std::size_t i = 2; i + 1 < size; i += 2) {
    text += static_cast<char16_t>(data[i] | data[i + 1] << 8);
  }
  const store::FilteredText kept = store::FilterIdDigits(text, caret);
  std::size_t next = 0;
  for (char16_t c : kept.text) {
    if (c < u'0' || c > u'9') std::abort();
    next = text.find(c, next);
    if (next == std::u16string::npos) std::abort();
    ++next;
  }
  if (kept.caret < 0 || kept.caret > static_cast<int>(kept.text.size())) std::abort();
  const store::FilteredText again = store::FilterIdDigits(kept.text, kept.caret);
  if (again.text != kept.text || again.caret != kept.caret) std::abort();
  return 0;
}
