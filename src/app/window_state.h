#pragma once
// The state of one run of the main window, shared by its procedures.

#include <cstdint>
#include <string>

#include "editor/color_table.h"

namespace app {

// Each member starts as the window loads: applied, the back colour chosen, decimal, a black pen
// (the back colour is read from the fields' design text), no file name.
struct WindowState {
  // The colour table holds the colours last written to or read from the registry.
  bool blnApplied = true;
  // From the opening of the key chain until the end of the first activation.
  bool blnStartup = false;
  editor::ColorTable intColor{};
  std::int16_t intTarget = editor::kBack;
  std::int16_t intBase = editor::kDecimal;
  std::u16string strFileName;
};

}  // namespace app
