#pragma once
// Whether text of one colour reads on a background of another: a contrast of 4.5 : 1 at least,
// as the accessibility guidelines ask of text. Colours as 0x00BBGGRR.

#include <cstdint>

namespace tk {

bool TextReads(std::uint32_t text, std::uint32_t back);

}  // namespace tk
