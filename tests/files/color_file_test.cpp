// The colour file's bytes as written, and what the reader takes from the files it may meet.
#include "files/color_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using files::ReadFailure;
using files::ReadResult;

constexpr char kExample[] =
    "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Mirabilis\\ICQ\\Owners\\12345678\\Windows\\"
    "SendMsg]\r\n\"Pen Color\"=dword:000000FF\r\n\"Back Color\"=dword:00FFFFFF\r\n";
constexpr char kKey[] =
    "[HKEY_CURRENT_USER\\Software\\Mirabilis\\ICQ\\Owners\\1\\Windows\\SendMsg]";

std::string Lines(std::initializer_list<std::string_view> lines, std::string_view end = "\r\n") {
  std::string text;
  for (std::string_view line : lines) (text += line) += end;
  return text;
}
// What the registry editor writes: UTF-16 little-endian after a byte-order mark.
std::string Unicode(std::string_view ascii) {
  std::string bytes = "\xFF\xFE";
  for (char c : ascii) (bytes += c) += '\0';
  return bytes;
}
std::string WithoutCr(std::string text) {
  std::erase(text, '\r');
  return text;
}
std::string Position(std::string_view pen, std::string_view back) {
  return Lines({"REGEDIT4", "", kKey, pen, back});
}
std::string Named(std::string_view pen, std::string_view back) {
  return Position(std::string("\"Pen Color\"=dword:") += pen,
                  std::string("\"Back Color\"=dword:") += back);
}

ReadResult Colors(std::uint32_t pen, std::uint32_t back) {
  return ReadResult{ReadFailure::kNone, pen, back};
}
ReadResult Failure(ReadFailure failure) { return ReadResult{failure, 0, 0}; }

TEST(ColorFile, WrittenBytesAreTheFiveRegedit4Lines) {
  const std::string example = files::ColorFileBytes(u"12345678", 0x0000FF, 0xFFFFFF);
  EXPECT_EQ(example, kExample);
  EXPECT_EQ(example.size(), 145u);
  EXPECT_EQ(files::ColorFileBytes(u"", 0xFF123456, 0x0A0B0C),
            Lines({"REGEDIT4", "",
                   "[HKEY_CURRENT_USER\\Software\\Mirabilis\\ICQ\\Owners\\\\Windows\\SendMsg]",
                   "\"Pen Color\"=dword:00123456", "\"Back Color\"=dword:000A0B0C"}));
  EXPECT_EQ(files::ColorFileBytes(u" 1\r\n\"2\"色", 0, 0).substr(12, 58),
            "[HKEY_CURRENT_USER\\Software\\Mirabilis\\ICQ\\Owners\\ 1??\"2\"?\\");
}

TEST(ColorFile, ReaderTakesBothColorsOrSaysWhyNot) {
  const std::string megabyteComment = "; " + std::string(files::kMaxColorFileSize, '-');
  const struct {
    const char* what;
    std::string bytes;
    ReadResult expected;
  } cases[] = {
      {"the example", kExample, Colors(0x0000FF, 0xFFFFFF)},
      {"LF line ends", WithoutCr(kExample), Colors(0xFF, 0xFFFFFF)},
      {"green, not cyan", Named("0000FF00", "00000000"), Colors(0x00FF00, 0)},
      {"FFFFFFFF reads as yellow", Named("FFFFFFFF", "0000FFFF"), Colors(0xFFFF, 0xFFFF)},
      {"top byte kept for SetColor", Named("FF000000", "00ff00ff"), Colors(0xFF000000, 0xFF00FF)},
      {"no digits", Named("", "zz"), Colors(0, 0)},
      {"leading zeros are not significant", Named("0000000000FF", "0"), Colors(0xFF, 0)},
      {"nine significant digits", Named("1000000FF", "0"), Failure(ReadFailure::kTooManyDigits)},
      {"blanks before the digits, not among them", Named(" \t00FF", "00 FF"), Colors(0xFF, 0)},
      {"by name in any order and case",
       Lines({"REGEDIT4", "; exported", "", "[HKEY_CURRENT_USER\\Other]", "\"Pen Color\"=dword:1",
              "", kKey, "\"Font\"=\"MS\"", "\"BACK COLOR\" = DWORD:00ff0000", "@=\"x\"",
              "\"pen color\"=dword:000000ff", "", "[HKEY_CURRENT_USER\\Later]",
              "\"Pen Color\"=dword:2", "\"Back Color\"=dword:3"},
             "\n"),
       Colors(0xFF, 0xFF0000)},
      {"only a line's first character after blanks starts a key or a value",
       Lines({"REGEDIT4", "[k]", " \t\"Pen Color\"=dword:1 [x]", "x[y]", "\t\"Back Color\"=2",
              "\"\"=\"[\"", "\"Back Color\"=dword:3"}),
       Colors(1, 3)},
      {"a named colour that is no dword",
       Lines({"REGEDIT4", kKey, "\"Pen Color\"=hex:ff,00,00,00", "\"Back Color\"=dword:0"}),
       Failure(ReadFailure::kNotADword)},
      {"other names only: another key's file",
       Position("\"Ink Color\"=dword:000000FF", "\"Base Color\"=dword:00FFFFFF"),
       Failure(ReadFailure::kOtherValues)},
      {"one name only: by position",
       Lines({"REGEDIT4", "", kKey, "\"Pen Color\"=dword:00000001", "\"Base Color\"=dword:2",
              "\"Pen Color\"=dword:3"}),
       Colors(1, 2)},
      {"a line shorter than its prefix",
       Position("\"Pen Color\"=dword", "\"Back Colour\"=dword:00FFFFFF"),
       Failure(ReadFailure::kLineTooShort)},
      {"a prefix and nothing after", Position(std::string(18, 'x'), std::string(19, 'x')),
       Colors(0, 0)},
      {"three lines", Lines({"REGEDIT4", "", kKey}), Failure(ReadFailure::kTooFewLines)},
      {"empty", "", Failure(ReadFailure::kTooFewLines)},
      {"the Unicode form",
       Unicode(Lines({"Windows Registry Editor Version 5.00", "", kKey,
                      "\"Pen Color\"=dword:0000ff00", "\"Back Color\"=dword:00000000"})),
       Colors(0xFF00, 0)},
      {"the Unicode form with LF, by position",
       Unicode(
           WithoutCr(Position("\"Pen Color\"=dword:000000FF", "\"Base Color\"=dword:00FFFFFF"))),
       Colors(0xFF, 0xFFFFFF)},
      {"UTF-16 without byte-order mark", Unicode(kExample).substr(2),
       Failure(ReadFailure::kNotText)},
      {"binary", std::string(4, '\0') + kExample, Failure(ReadFailure::kNotText)},
      {"1 MiB", kExample + megabyteComment.substr(0, files::kMaxColorFileSize - 145),
       Colors(0xFF, 0xFFFFFF)},
      {"over 1 MiB", kExample + megabyteComment, Failure(ReadFailure::kTooLarge)},
  };
  for (const auto& c : cases) {
    const ReadResult read = files::ReadColorFile(c.bytes);
    EXPECT_EQ(read, c.expected) << c.what << ": failure " << static_cast<int>(read.failure)
                                << ", pen " << read.pen << ", back " << read.back;
  }
}

}  // namespace
