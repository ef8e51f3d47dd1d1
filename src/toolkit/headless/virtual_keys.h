#pragma once
// The Windows virtual-key codes that the headless edit controls and the simulated user act on.

namespace tk::headless {

constexpr int kVkBack = 0x08, kVkTab = 0x09, kVkReturn = 0x0D, kVkEscape = 0x1B, kVkSpace = 0x20,
              kVkEnd = 0x23, kVkHome = 0x24, kVkLeft = 0x25, kVkUp = 0x26, kVkRight = 0x27,
              kVkDown = 0x28, kVkDelete = 0x2E;

}  // namespace tk::headless
