#pragma once
// A line of a form's design. It has no window: its container draws it under its controls.

#include "toolkit/design.h"
#include "toolkit/win32/windows_api.h"

namespace tk::win32 {

class LineShape {
 public:
  explicit LineShape(const ControlSpec& spec) : spec_(&spec) {}

  std::string_view Container() const { return spec_->container; }
  int Stacking() const { return spec_->stacking; }
  void Draw(HDC dc, int dpi) const;

 private:
  const ControlSpec* spec_;
};

}  // namespace tk::win32
