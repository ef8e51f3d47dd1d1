#pragma once

#include "toolkit/design.h"

namespace app {

// The main window as it stands before any code runs.
const tk::FormSpec& MainFormSpec();

// Hint shown in the sample box: Shift steps by 10, Ctrl jumps to the largest or smallest value.
inline constexpr char16_t kSampleHint[] = u"Shift : 10ずつ変動    Ctrl  : 最大値/最小値";

}  // namespace app
