#pragma once
// What the channel fields decide, apart from any window: which characters a field keeps and the
// component they stand for, and where the ▲ and ▼ buttons take a component.

#include <cstdint>
#include <string>
#include <string_view>

namespace editor {

struct ChannelEntry {
  std::u16string text;  // what the field should hold
  int value = 0;        // the component it stands for, 0..255
  int caret = 0;        // where the caret belongs in `text` when the field is rewritten
};

// Cleans a field's text for `base`: a "-" anywhere gives "0"; digits are kept, and in hexadecimal
// also A-F (a-f upper-cased); nothing kept gives "0". Hexadecimal keeps the last two digits, and
// decimal values above 255 become "255". Leading decimal zeros stay ("007" is 7). The caret
// follows the kept characters that stood before it. Cleaning a clean text changes nothing.
ChannelEntry CleanChannelText(std::u16string_view text, int base, int caret);

// ▲ / ▼ steps by 1; with Shift by 10 in decimal and 16 in hexadecimal; with Ctrl by 255.
int StepSize(std::int16_t shift, int base);

// The text a button writes for `value` + `delta`. Decimal writes the sum as it is, with no text
// for 0, and leaves the range to the field's cleaning; hexadecimal clamps it to 0..255 first and
// writes it without leading zeros.
std::u16string SteppedText(int value, int delta, int base);

// The text a field is left with: empty gives "0", a zero component "0", and a single hexadecimal
// digit gets a leading "0".
std::u16string LeftText(std::u16string_view text, int value, int base);

}  // namespace editor
