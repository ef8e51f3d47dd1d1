#pragma once

#include "app/texts.h"
#include "toolkit/design.h"

namespace app {

// The main window as it stands before any code runs, in the texts of one language.
tk::FormSpec MainFormSpec(const Texts& texts);

}  // namespace app
