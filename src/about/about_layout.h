#pragma once

#include "toolkit/design.h"

namespace about {

// The About box as it stands before any code runs.
const tk::FormSpec& AboutFormSpec();

}  // namespace about
