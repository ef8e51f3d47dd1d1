#pragma once

#include "about/about_texts.h"
#include "toolkit/design.h"

namespace about {

// The About box as it stands before any code runs, in the texts of one language.
tk::FormSpec AboutFormSpec(const AboutTexts& texts);

}  // namespace about
