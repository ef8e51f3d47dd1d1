#include "store/owner_id.h"

#include <gtest/gtest.h>

#include <climits>
#include <string_view>

namespace {

using store::FilterIdDigits;
using store::FormatLastOwner;

TEST(FormatLastOwner, DecimalWithoutLeadingZerosAndZeroAsEmpty) {
  EXPECT_EQ(FormatLastOwner(0), "");
  EXPECT_EQ(FormatLastOwner(7), "7");
  EXPECT_EQ(FormatLastOwner(100), "100");
  EXPECT_EQ(FormatLastOwner(12345678), "12345678");
  EXPECT_EQ(FormatLastOwner(INT32_MAX), "2147483647");
}

TEST(FormatLastOwner, NegativeKeepsItsMinusSign) {
  EXPECT_EQ(FormatLastOwner(-1), "-1");
  EXPECT_EQ(FormatLastOwner(-1000000000), "-1000000000");  // eleven characters
  EXPECT_EQ(FormatLastOwner(INT32_MIN), "-2147483648");
}

// Types one character at the caret, as the field would, then filters as the change handler does.
store::FilteredText Type(const store::FilteredText& field, char16_t c) {
  std::u16string text = field.text;
  text.insert(text.begin() + field.caret, c);
  return FilterIdDigits(text, field.caret + 1);
}

TEST(FilterIdDigits, TypingALetterBetweenDigitsDropsOnlyTheLetter) {
  store::FilteredText field;
  for (char16_t c : std::u16string_view(u"12a3")) field = Type(field, c);
  EXPECT_EQ(field.text, u"123");
  EXPECT_EQ(field.caret, 3);

  const auto afterLetter = FilterIdDigits(u"12a", 3);
  EXPECT_EQ(afterLetter.text, u"12");
  EXPECT_EQ(afterLetter.caret, 2);
}

TEST(FilterIdDigits, KeepsOnlyAsciiDigitsByCodeUnit) {
  EXPECT_EQ(FilterIdDigits(u"0123456789", 0).text, u"0123456789");
  EXPECT_EQ(FilterIdDigits(u"/0:9", 0).text, u"09");  // the neighbours of '0' and '9'
  EXPECT_EQ(FilterIdDigits(u"-12 345", 0).text, u"12345");
  EXPECT_EQ(FilterIdDigits(u"\uFF11\uFF12\uFF13", 3).text, u"");  // full-width digits
  EXPECT_EQ(FilterIdDigits(u"\U0001D7CE7", 0).text, u"7");        // a digit outside the BMP
  EXPECT_EQ(FilterIdDigits(u"", 0).text, u"");
}

TEST(FilterIdDigits, CaretCountsTheDigitsThatStoodBeforeIt) {
  EXPECT_EQ(FilterIdDigits(u"1x2y3", 0).caret, 0);
  EXPECT_EQ(FilterIdDigits(u"1x2y3", 2).caret, 1);
  EXPECT_EQ(FilterIdDigits(u"1x2y3", 3).caret, 2);
  EXPECT_EQ(FilterIdDigits(u"1x2y3", 4).caret, 2);
  EXPECT_EQ(FilterIdDigits(u"1x2y3", 5).caret, 3);
  EXPECT_EQ(FilterIdDigits(u"ab12", 2).caret, 0) << "pasted in front of the digits";
  EXPECT_EQ(FilterIdDigits(u"1x2", 99).caret, 2);
  EXPECT_EQ(FilterIdDigits(u"1x2", -1).caret, 0);
}

}  // namespace
