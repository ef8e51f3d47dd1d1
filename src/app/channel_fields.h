#pragma once
// The main window's colour editing: the three channel fields with their ▲ / ▼ buttons, the colour
// and base options, and the sample box, over the colour table in the window state.

#include <array>
#include <cstdint>
#include <string>

#include "app/texts.h"
#include "app/window_state.h"
#include "toolkit/form.h"

namespace app {

class ChannelFields {
 public:
  ChannelFields(tk::Form& form, WindowState& state, const Texts& texts);

  std::u16string ColorCode(int target, bool withPrefix) const;
  // Unpacks a colour value into a target, shows it, and counts it as an unapplied edit.
  void SetColor(std::uint32_t color, int target);
  void ShowSample();
  void ShowChannel(int index, int value);
  // Redisplays the chosen target in the chosen base; never counts as an edit.
  void ShowChannels();

 private:
  void txtColor_Change(std::int16_t index);
  void txtColor_LostFocus(std::int16_t index);
  void txtColor_KeyDown(std::int16_t index, std::int16_t keyCode);
  void btnUp_MouseDown(std::int16_t index, std::int16_t shift);
  void btnDown_MouseDown(std::int16_t index, std::int16_t shift);
  void btnUp_KeyDown(std::int16_t index, std::int16_t keyCode, std::int16_t shift);
  void btnDown_KeyDown(std::int16_t index, std::int16_t keyCode, std::int16_t shift);
  void optObject_Click(std::int16_t index);
  void optDes_Click(std::int16_t index);
  void txtTest_Change();
  void txtTest_GotFocus();

  void Step(std::int16_t index, std::int16_t shift, int direction);
  std::int16_t& Component(int index);
  tk::TextBox& txtColor(int index) const { return *txtColor_[index]; }

  WindowState& state_;
  const std::array<tk::TextBox*, 3> txtColor_;
  const std::array<tk::CommandButton*, 3> btnUp_, btnDown_;
  const std::array<tk::OptionButton*, 2> optObject_, optDes_;
  tk::TextBox& txtTest_;
  tk::CommandButton& btnAccept_;
  const std::u16string sampleHint_;
};

}  // namespace app
