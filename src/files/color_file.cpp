#include "files/color_file.h"

#include "common/hex_digits.h"

namespace files {
namespace {

constexpr std::string_view kPenName = "Pen Color";
constexpr std::string_view kBackName = "Back Color";
constexpr std::size_t kPenPrefix = 18;   // "Pen Color"=dword:
constexpr std::size_t kBackPrefix = 19;  // "Back Color"=dword:
// Stands for every character outside ASCII: none of the reader's own characters.
constexpr char kOther = '\x80';

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char Folded(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Folded(a[i]) != Folded(b[i])) return false;
  }
  return true;
}

std::string_view SkipBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

void AppendCode(std::string& line, std::uint32_t color) {
  line += "00";
  for (int shift = 20; shift >= 0; shift -= 4) line += common::kHexDigits[color >> shift & 0xF];
}

// The text of a UTF-16 little-endian file after its byte-order mark, one character per unit;
// nothing when it holds a NUL.
std::optional<std::string> UnicodeText(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const unsigned unit = static_cast<unsigned char>(bytes[i]) |
                          static_cast<unsigned>(static_cast<unsigned char>(bytes[i + 1])) << 8;
    if (unit == 0) return std::nullopt;
    text += unit < 0x80 ? static_cast<char>(unit) : kOther;
  }
  return text;
}

// Hands out the lines of a text without their CR LF or LF; a line end at the very end opens no
// further line.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : rest_(text) {}
  bool Next(std::string_view& line) {
    if (rest_.empty()) return false;
    const std::size_t end = rest_.find('\n');
    line = rest_.substr(0, end);
    rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return true;
  }

 private:
  std::string_view rest_;
};

struct NamedValue {
  std::string_view name;  // as written: a name holding \" or \\ is none of ours
  std::string_view data;  // after the "="
};

// A value line as the registry editor writes it: "name"=data.
std::optional<NamedValue> ParseValueLine(std::string_view line) {
  line = SkipBlanks(line);
  if (!line.starts_with('"')) return std::nullopt;
  const std::size_t close = line.find('"', 1);
  if (close == std::string_view::npos) return std::nullopt;
  const std::string_view rest = SkipBlanks(line.substr(close + 1));
  if (!rest.starts_with('=')) return std::nullopt;
  return NamedValue{line.substr(1, close - 1), SkipBlanks(rest.substr(1))};
}

struct NamedColors {
  std::optional<std::string_view> pen, back;
  bool Both() const { return pen && back; }
};

// The first key of the file that names both colours; within it the last line of a name wins, as
// it does when the file is imported.
NamedColors FindNamedColors(std::string_view text) {
  NamedColors key;
  LineReader lines(text);
  for (std::string_view line; lines.Next(line);) {
    if (SkipBlanks(line).starts_with('[')) {
      if (key.Both()) return key;
      key = {};
    } else if (auto value = ParseValueLine(line)) {
      if (SameText(value->name, kPenName)) key.pen = value->data;
      if (SameText(value->name, kBackName)) key.back = value->data;
    }
  }
  return key.Both() ? key : NamedColors{};
}

// Value lines with names, none of them a colour's: read by position, such a file gives nonsense.
bool NamesOnlyOtherValues(std::string_view text) {
  bool named = false;
  LineReader lines(text);
  for (std::string_view line; lines.Next(line);) {
    const auto value = ParseValueLine(line);
    if (!value) continue;
    if (SameText(value->name, kPenName) || SameText(value->name, kBackName)) return false;
    named = true;
  }
  return named;
}

ReadResult Failed(ReadFailure failure) { return ReadResult{failure, 0, 0}; }

ReadResult ColorsOf(std::string_view penText, std::string_view backText) {
  const auto pen = ColorValueOfText(penText);
  const auto back = ColorValueOfText(backText);
  if (!pen || !back) return Failed(ReadFailure::kTooManyDigits);
  return ReadResult{ReadFailure::kNone, *pen, *back};
}

}  // namespace

std::string ColorFileBytes(std::u16string_view id, std::uint32_t pen, std::uint32_t back) {
  std::string file = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Mirabilis\\ICQ\\Owners\\";
  for (char16_t c : id) file += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
  file += "\\Windows\\SendMsg]\r\n\"Pen Color\"=dword:";
  AppendCode(file, pen);
  file += "\r\n\"Back Color\"=dword:";
  AppendCode(file, back);
  file += "\r\n";
  return file;
}

std::optional<std::uint32_t> ColorValueOfText(std::string_view text) {
  text = SkipBlanks(text);
  std::uint32_t value = 0;
  for (char c : text) {
    const int digit = common::HexDigitValue(c);
    if (digit < 0) break;
    if (value > 0x0FFFFFFF) return std::nullopt;
    value = value << 4 | static_cast<std::uint32_t>(digit);
  }
  return value == 0xFFFFFFFF ? 0x0000FFFF : value;
}

ReadResult ReadColorFile(std::string_view bytes) {
  if (bytes.size() > kMaxColorFileSize) return Failed(ReadFailure::kTooLarge);
  std::optional<std::string> unicode;
  std::string_view text = bytes;
  if (bytes.starts_with("\xFF\xFE")) {
    unicode = UnicodeText(bytes.substr(2));
    if (!unicode) return Failed(ReadFailure::kNotText);
    text = *unicode;
  } else if (bytes.find('\0') != std::string_view::npos) {
    return Failed(ReadFailure::kNotText);
  }

  if (const NamedColors named = FindNamedColors(text); named.Both()) {
    constexpr std::string_view kDword = "dword:";
    const auto dwordData = [&](std::string_view data) -> std::optional<std::string_view> {
      if (data.size() < kDword.size() || !SameText(data.substr(0, kDword.size()), kDword)) {
        return std::nullopt;
      }
      return data.substr(kDword.size());
    };
    const auto pen = dwordData(*named.pen), back = dwordData(*named.back);
    if (!pen || !back) return Failed(ReadFailure::kNotADword);
    return ColorsOf(*pen, *back);
  }
  if (NamesOnlyOtherValues(text)) return Failed(ReadFailure::kOtherValues);

  std::string_view lines[5];
  LineReader reader(text);
  for (std::string_view& line : lines) {
    if (!reader.Next(line)) return Failed(ReadFailure::kTooFewLines);
  }
  if (lines[3].size() < kPenPrefix || lines[4].size() < kBackPrefix) {
    return Failed(ReadFailure::kLineTooShort);
  }
  return ColorsOf(lines[3].substr(kPenPrefix), lines[4].substr(kBackPrefix));
}

}  // namespace files
