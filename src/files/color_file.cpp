#include "files/color_file.h"

#include <cstring>

#include "common/hex_digits.h"

namespace files {
namespace {

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
  std::string text(bytes.size() / 2, kOther);
  const auto* unit = reinterpret_cast<const unsigned char*>(bytes.data());
  for (char& c : text) {
    const unsigned low = unit[0], high = unit[1];
    unit += 2;
    if ((low | high) == 0) return std::nullopt;
    if ((high | low >> 7) == 0) c = static_cast<char>(low);
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

// The first `c` in [from, end), or end; `from` is never null.
const char* Find(const char* from, const char* end, char c) {
  const void* found = std::memchr(from, c, static_cast<std::size_t>(end - from));
  return found ? static_cast<const char*>(found) : end;
}

const char* SkipBlanks(const char* from, const char* end) {
  while (from != end && IsBlank(*from)) ++from;
  return from;
}

// Whether the text at `at` is `lower` in any case, then a double quote: a value line's name.
// `lower` holds 8 to 16 characters, lower-case letters and one space at `space`. Compared eight
// characters at a time: OR-ing 0x20 turns upper-case letters into lower-case ones and nothing
// else into a letter (a NUL it turns into a space, so the space is compared as it is).
bool IsNameAt(const char* at, const char* end, std::string_view lower, std::size_t space) {
  const std::size_t n = lower.size();
  if (end - at <= static_cast<std::ptrdiff_t>(n) || at[n] != '"' || at[space] != ' ') return false;
  constexpr std::uint64_t kCase = 0x2020202020202020;
  std::uint64_t head, tail, lowerHead, lowerTail;
  std::memcpy(&head, at, 8);
  std::memcpy(&tail, at + n - 8, 8);
  std::memcpy(&lowerHead, lower.data(), 8);
  std::memcpy(&lowerTail, lower.data() + n - 8, 8);
  return ((head | kCase) == lowerHead) && ((tail | kCase) == lowerTail);
}

// The double quotes and "[" of a text in order, each kind found by a library search.
class Marks {
 public:
  Marks(const char* begin, const char* end)
      : end_(end), quote_(Find(begin, end, '"')), bracket_(Find(begin, end, '[')) {}
  // The first at or after `from`, or the end; `from` never goes back. Without `brackets`, the
  // first double quote.
  const char* From(const char* from, bool brackets) {
    if (quote_ < from) quote_ = Find(from, end_, '"');
    if (!brackets) return quote_;
    if (bracket_ < from) bracket_ = Find(from, end_, '[');
    return quote_ < bracket_ ? quote_ : bracket_;
  }

 private:
  const char* end_;
  const char* quote_;
  const char* bracket_;
};

// Whether only blanks stand between the start of its line and `at`.
bool StartsLine(const char* begin, const char* at) {
  if (at == begin || at[-1] == '\n') return true;
  if (!IsBlank(at[-1])) return false;
  while (at != begin && IsBlank(at[-1])) --at;
  return at == begin || at[-1] == '\n';
}

struct NamedColors {
  std::optional<std::string_view> pen, back;  // the data of the last line of each name
  bool Both() const { return pen && back; }
};

struct ValueLines {
  NamedColors key;          // the first key that names both colours, or none
  bool named = false;       // any value line at all: "name"=data
  bool colorNamed = false;  // any value line naming a colour
};

// One pass over the keys and values: the first key that names both colours, where within it the
// last line of a name wins, as it does when the file is imported; or, where none does, whether
// the value lines name colours at all. Such a line starts, after blanks, with "[" or a double
// quote, so the pass goes by library searches from one of these characters to the next and on to
// the end of its line: other lines cost nothing, and these a few comparisons each (which the
// fuzzer's instrumentation makes dear).
ValueLines ScanValueLines(std::string_view text) {
  ValueLines found;
  if (text.empty()) return found;
  NamedColors& key = found.key;
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  Marks marks(begin, end);
  const char* lineEnd = begin;
  // A key's line matters only once its key names a colour.
  for (const char* mark = marks.From(begin, false); mark != end;
       mark = marks.From(lineEnd, key.pen || key.back)) {
    lineEnd = Find(mark + 1, end, '\n');
    const char* name = mark + 1;
    if (!StartsLine(begin, mark)) {
      // a mark within a line: neither a key nor a value
    } else if (*mark == '[') {
      if (key.Both()) return found;
      key = {};
    } else if (const bool pen = IsNameAt(name, lineEnd, "pen color", 3);
               pen || IsNameAt(name, lineEnd, "back color", 4)) {
      const char* equals = SkipBlanks(name + (pen ? 10 : 11), lineEnd);
      if (equals != lineEnd && *equals == '=') {
        found.named = found.colorNamed = true;
        const char* data = SkipBlanks(equals + 1, lineEnd);
        (pen ? key.pen : key.back) =
            std::string_view(data, data != lineEnd && lineEnd[-1] == '\r' ? lineEnd - 1 : lineEnd);
      }
    } else if (!found.named) {  // another name: only whether it makes a value line counts
      const char* close = Find(name, lineEnd, '"');
      const char* equals = close == lineEnd ? lineEnd : SkipBlanks(close + 1, lineEnd);
      found.named = equals != lineEnd && *equals == '=';
    }
  }
  if (!key.Both()) key = {};
  return found;
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

  const ValueLines values = ScanValueLines(text);
  if (const NamedColors& named = values.key; named.Both()) {
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
  // Value lines with names, none of them a colour's: read by position, such a file gives nonsense.
  if (values.named && !values.colorNamed) return Failed(ReadFailure::kOtherValues);

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
