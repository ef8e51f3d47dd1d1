#pragma once
// The colour file: five REGEDIT4 lines that the system's registry editor imports into an owner's
// SendMsg key, and the reader that takes both colours back from it, or from the registry editor's
// own export of such a key (REGEDIT4, or its Unicode form with a byte-order mark).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace files {

// Larger files are refused unread: no colour file comes near it.
constexpr std::size_t kMaxColorFileSize = std::size_t{1} << 20;

// The file's bytes for the ID as typed and two colour values 0x00BBGGRR (the top byte is not
// written). The ID field holds digits only; any character outside printable ASCII is written as
// "?", so that no ID can break the file's lines.
std::string ColorFileBytes(std::u16string_view id, std::uint32_t pen, std::uint32_t back);

enum class ReadFailure {
  kNone,
  kTooLarge,       // more than kMaxColorFileSize bytes
  kNotText,        // holds a NUL character (binary data, or UTF-16 without a byte-order mark)
  kTooFewLines,    // read by position, but lines 4 and 5 are not both there
  kLineTooShort,   // read by position, but a colour line is shorter than its prefix
  kNotADword,      // a named colour value that is not "dword:"
  kTooManyDigits,  // more than eight significant hexadecimal digits
  kOtherValues,    // names values, but neither colour: a file of another key
};

struct ReadResult {
  ReadFailure failure = ReadFailure::kNone;
  std::uint32_t pen = 0;  // the colour values as read, 0xFFFFFFFF already turned into 0x0000FFFF
  std::uint32_t back = 0;
  bool Ok() const { return failure == ReadFailure::kNone; }
  bool operator==(const ReadResult&) const = default;
};

// Where the file names both "Pen Color" and "Back Color" within one key (any order, any case,
// among other values), each is taken from its own line. A file whose value lines name neither is
// refused; otherwise lines 4 and 5 are read after their prefixes of 18 and 19 characters. CR LF or
// LF line ends.
ReadResult ReadColorFile(std::string_view bytes);

// The value rule: blanks before the digits are skipped, then the leading hexadecimal digits are
// read up to the first other character (none: 0); 0xFFFFFFFF reads as 0x0000FFFF. Nothing when
// the digits do not fit in 32 bits.
std::optional<std::uint32_t> ColorValueOfText(std::string_view text);

}  // namespace files
