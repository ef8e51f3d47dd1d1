#pragma once
// The fonts of one form at one DPI: the system's message font for controls that name none, and
// each font the design names, made when first asked for.

#include <utility>
#include <vector>

#include "toolkit/design.h"
#include "toolkit/win32/handles.h"
#include "toolkit/win32/windows_api.h"

namespace tk::win32 {

class FormFonts {
 public:
  FormFonts() = default;
  explicit FormFonts(int dpi);

  // Where a font cannot be made, the system's.
  HFONT For(const ControlSpec& spec);

 private:
  HFONT Named(const FontSpec& spec);

  int dpi_ = 96;
  FontHandle messageFont_;
  std::vector<std::pair<FontSpec, FontHandle>> named_;
};

}  // namespace tk::win32
