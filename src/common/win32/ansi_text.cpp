#include "common/win32/ansi_text.h"

#include <windows.h>

namespace common::win32 {

std::u16string FromAnsi(std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  std::u16string wide(static_cast<std::size_t>(length > 0 ? length : 0), u'\0');
  if (length > 0) {
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, reinterpret_cast<wchar_t*>(wide.data()),
                        length);
  }
  return wide;
}

std::string ToAnsi(std::u16string_view text) {
  if (text.empty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int size = static_cast<int>(text.size());
  const int length = WideCharToMultiByte(CP_ACP, 0, wide, size, nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
  if (length > 0) WideCharToMultiByte(CP_ACP, 0, wide, size, ansi.data(), length, nullptr, nullptr);
  return ansi;
}

std::optional<std::string> ToAnsiExactly(std::u16string_view text) {
  // The way back must give the same text: that refuses the default character and any best fit
  // ("ａ" for "a" is another file), on every Windows alike.
  std::string ansi = ToAnsi(text);
  if (FromAnsi(ansi) != text) return std::nullopt;
  return ansi;
}

}  // namespace common::win32
