#include "store/owner_id.h"

#include "store/names.h"

namespace store {

std::string FormatLastOwner(std::int32_t value) {
  return value == 0 ? std::string() : std::to_string(value);
}

std::string ReadLastOwner(Registry& registry, Key owners, Status chainStatus) {
  if (chainStatus != kSuccess) return {};
  std::uint32_t data = 0;
  registry.QueryDword(owners, names::kLastOwner, data);
  return FormatLastOwner(static_cast<std::int32_t>(data));
}

FilteredText FilterIdDigits(std::u16string_view text, int caret) {
  FilteredText result;
  result.text.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c < u'0' || c > u'9') continue;
    if (static_cast<std::ptrdiff_t>(i) < caret) ++result.caret;
    result.text.push_back(c);
  }
  return result;
}

}  // namespace store
