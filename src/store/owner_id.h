#pragma once
// The owner's user ID: read from ICQ's "LastOwner" at start-up, and kept to decimal digits while
// the user edits it.

#include <cstdint>
#include <string>
#include <string_view>

#include "store/registry.h"

namespace store {

// The "##########" pattern: decimal, no leading zeros, 0 gives "", negatives keep their "-".
std::string FormatLastOwner(std::int32_t value);

// The text for the ID field: "" unless the key chain opened fully (chainStatus 0); otherwise
// "LastOwner" of `owners` formatted as above, where a missing or unreadable value reads as 0.
std::string ReadLastOwner(Registry& registry, Key owners, Status chainStatus);

struct FilteredText {
  std::u16string text;
  int caret = 0;  // where the old caret stands in the new text
};

// Keeps the code units '0' to '9' only; `caret` is counted in code units of `text`.
FilteredText FilterIdDigits(std::u16string_view text, int caret);

}  // namespace store
