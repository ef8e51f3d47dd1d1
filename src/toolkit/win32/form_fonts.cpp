#include "toolkit/win32/form_fonts.h"

#include "toolkit/win32/system_metrics.h"

namespace tk::win32 {

FormFonts::FormFonts(int dpi) : dpi_(dpi), messageFont_(CreateMessageFont(dpi)) {}

HFONT FormFonts::For(const ControlSpec& spec) {
  HFONT font = spec.font ? Named(*spec.font) : nullptr;
  if (!font) font = messageFont_.get();
  return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HFONT FormFonts::Named(const FontSpec& spec) {
  for (const auto& [font, handle] : named_) {
    if (font == spec) return handle.get();
  }
  named_.emplace_back(spec, CreateNamedFont(spec, dpi_));
  return named_.back().second.get();
}

}  // namespace tk::win32
