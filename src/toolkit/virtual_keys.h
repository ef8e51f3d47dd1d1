#pragma once
// The Windows virtual-key codes the toolkit and the program act on, as KeyDown reports them.

namespace tk {

constexpr int kVkBack = 0x08, kVkTab = 0x09, kVkReturn = 0x0D, kVkEscape = 0x1B, kVkSpace = 0x20,
              kVkEnd = 0x23, kVkHome = 0x24, kVkLeft = 0x25, kVkUp = 0x26, kVkRight = 0x27,
              kVkDown = 0x28, kVkDelete = 0x2E;

}  // namespace tk
