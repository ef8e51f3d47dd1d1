#pragma once
// The program's UTF-16 text (std::u16string) as the W functions of Windows take and give it.

#include <string>

namespace common::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide strings are UTF-16");

inline const wchar_t* WidePtr(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}
inline std::u16string FromWide(const wchar_t* text, std::size_t length) {
  return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}
inline std::u16string FromWide(const std::wstring& text) {
  return FromWide(text.data(), text.size());
}

}  // namespace common::win32
