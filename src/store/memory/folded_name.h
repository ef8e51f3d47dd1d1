#pragma once
// Registry names compare case-insensitively; ICQ's names are ASCII, so ASCII folding suffices.

#include <string>
#include <string_view>

namespace store {

inline std::string FoldedName(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return folded;
}

}  // namespace store
