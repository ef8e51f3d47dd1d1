#pragma once
// Moves colours between the colour table, the three channel fields and the sample box.

#include <cstdint>
#include <string>

#include "app/window_state.h"
#include "toolkit/form.h"

namespace editor {

class ColourEditor {
 public:
  ColourEditor(tk::Form& form, app::WindowState& state);

  std::u16string ColorCode(int target, bool withPrefix) const;
  // Unpacks a colour value into a target, shows it, and counts it as an unapplied edit.
  void SetColor(std::uint32_t colour, int target);
  void ShowSample();
  void ShowChannel(int index, int value);
  // Redisplays the chosen target in the chosen base; never counts as an edit.
  void ShowChannels();

 private:
  void optObject_Click(std::int16_t index);
  void optDes_Click(std::int16_t index);

  tk::TextBox& txtColor(int index) const;

  tk::Form& form_;
  app::WindowState& state_;
};

}  // namespace editor
