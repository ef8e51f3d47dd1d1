#pragma once
// The two colours being edited, as red, green and blue components, and their text forms.

#include <array>
#include <cstdint>
#include <string>

namespace editor {

constexpr int kPen = 0;   // text colour, "Pen Color"
constexpr int kBack = 1;  // background colour, "Back Color"
constexpr int kRed = 0, kGreen = 1, kBlue = 2;

constexpr int kDecimal = 0;
constexpr int kHexadecimal = 1;

// Every component stays within 0..255.
using ColorTable = std::array<std::array<std::int16_t, 3>, 2>;

// 0x00BBGGRR of one target.
std::uint32_t ColorValue(const ColorTable& table, int target);

// "00BBGGRR" in upper-case hexadecimal, or "&H00BBGGRR" with the prefix.
std::u16string ColorCode(const ColorTable& table, int target, bool withPrefix);

// The colour code read back as a number, as the sample box receives it.
std::uint32_t ColorCodeValue(const std::u16string& code);

// Unpacks the low 24 bits of a colour value into one target.
void StoreColorValue(ColorTable& table, std::uint32_t color, int target);

// A component as a channel field shows it: decimal without leading zeros ("0" for 0), or exactly
// two upper-case hexadecimal digits. Decimal takes any value from 0 up.
std::u16string ChannelText(int value, int base);

}  // namespace editor
