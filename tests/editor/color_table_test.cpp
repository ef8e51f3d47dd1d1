#include "editor/color_table.h"

#include <gtest/gtest.h>

namespace editor {
namespace {

ColorTable With(int target, int red, int green, int blue) {
  ColorTable table{};
  table[target] = {static_cast<std::int16_t>(red), static_cast<std::int16_t>(green),
                   static_cast<std::int16_t>(blue)};
  return table;
}

TEST(ColorCode, WritesBlueGreenRedAsTwoUpperCaseDigitsEach) {
  EXPECT_EQ(ColorCode(With(kPen, 0, 0, 0), kPen, true), u"&H00000000");
  EXPECT_EQ(ColorCode(With(kBack, 255, 255, 255), kBack, false), u"00FFFFFF");
  const ColorTable orange = With(kPen, 255, 128, 0);
  EXPECT_EQ(ColorCode(orange, kPen, true), u"&H000080FF");
  EXPECT_EQ(ColorCode(orange, kPen, false), u"000080FF");
  EXPECT_EQ(ColorCode(With(kBack, 10, 0, 171), kBack, false), u"00AB000A");
}

TEST(ColorCode, ReadsBackAsTheColorValue) {
  const ColorTable orange = With(kPen, 255, 128, 0);
  EXPECT_EQ(ColorCodeValue(ColorCode(orange, kPen, true)), 0x80FFu);
  EXPECT_EQ(ColorCodeValue(ColorCode(orange, kPen, true)), ColorValue(orange, kPen));
  const ColorTable green = With(kBack, 0, 255, 0);
  EXPECT_EQ(ColorValue(green, kBack), 0x0000FF00u);
}

TEST(StoreColorValue, DropsTheTopByteAndSplitsTheRest) {
  ColorTable table = With(kBack, 1, 2, 3);
  StoreColorValue(table, 0xFF123456, kPen);
  EXPECT_EQ(table[kPen][kRed], 0x56);
  EXPECT_EQ(table[kPen][kGreen], 0x34);
  EXPECT_EQ(table[kPen][kBlue], 0x12);
  EXPECT_EQ(ColorCode(table, kPen, false), u"00123456");
  EXPECT_EQ(table[kBack][kRed], 1) << "the other target is untouched";
}

TEST(ChannelText, DecimalHasNoLeadingZerosAndHexHasExactlyTwoDigits) {
  EXPECT_EQ(ChannelText(0, kDecimal), u"0");
  EXPECT_EQ(ChannelText(9, kDecimal), u"9");
  EXPECT_EQ(ChannelText(100, kDecimal), u"100");
  EXPECT_EQ(ChannelText(0, kHexadecimal), u"00");
  EXPECT_EQ(ChannelText(9, kHexadecimal), u"09");
  EXPECT_EQ(ChannelText(171, kHexadecimal), u"AB");
}

}  // namespace
}  // namespace editor
