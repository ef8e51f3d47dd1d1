#pragma once
// The shift-state bits of a mouse press or a key, as the events pass them.

#include <cstdint>

namespace common {

inline constexpr std::int16_t kShiftBit = 1;
inline constexpr std::int16_t kCtrlBit = 2;
inline constexpr std::int16_t kAltBit = 4;

}  // namespace common
