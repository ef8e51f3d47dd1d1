#pragma once
// The About box's texts in one language.

#include <string_view>

#include "toolkit/design.h"

namespace about {

struct AboutTexts {
  std::u16string_view caption;
  std::u16string_view description;  // the authorship line under the version
  tk::FontSpec titleFont;
  // The box could not be made.
  std::u16string_view noBoxText, noBoxTitle;
};

}  // namespace about
