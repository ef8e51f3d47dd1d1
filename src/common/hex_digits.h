#pragma once
// Hexadecimal digits: the program writes them in upper case and reads either case.

namespace common {

inline constexpr char kHexDigits[] = "0123456789ABCDEF";

// The value of "0" to "9", "A" to "F" or "a" to "f"; -1 for any other character.
constexpr int HexDigitValue(char32_t c) {
  if (c >= U'0' && c <= U'9') return static_cast<int>(c - U'0');
  if (c >= U'A' && c <= U'F') return static_cast<int>(c - U'A') + 10;
  if (c >= U'a' && c <= U'f') return static_cast<int>(c - U'a') + 10;
  return -1;
}

}  // namespace common
