#include "editor/colour_editor.h"

namespace editor {

ColourEditor::ColourEditor(tk::Form& form, app::WindowState& state) : form_(form), state_(state) {
  for (std::int16_t i = 0; i < 2; ++i) {
    form_.Get<tk::OptionButton>("optObject", i).Click = [this, i] { optObject_Click(i); };
    form_.Get<tk::OptionButton>("optDes", i).Click = [this, i] { optDes_Click(i); };
  }
}

tk::TextBox& ColourEditor::txtColor(int index) const {
  return form_.Get<tk::TextBox>("txtColor", index);
}

std::u16string ColourEditor::ColorCode(int target, bool withPrefix) const {
  return editor::ColorCode(state_.intColor, target, withPrefix);
}

void ColourEditor::SetColor(std::uint32_t colour, int target) {
  StoreColourValue(state_.intColor, colour, target);
  if (target == state_.intTarget) ShowChannels();
  ShowSample();
  state_.blnApplied = false;
}

void ColourEditor::ShowSample() {
  auto& sample = form_.Get<tk::TextBox>("txtTest");
  sample.SetForeColor(ColorCodeValue(ColorCode(kPen, true)));
  sample.SetBackColor(ColorCodeValue(ColorCode(kBack, true)));
}

void ColourEditor::ShowChannel(int index, int value) {
  txtColor(index).SetText(ChannelText(value, state_.intBase));
}

void ColourEditor::ShowChannels() {
  const bool applied = state_.blnApplied;
  for (int channel = kRed; channel <= kBlue; ++channel) {
    ShowChannel(channel, state_.intColor[state_.intTarget][channel]);
  }
  state_.blnApplied = applied;
}

void ColourEditor::optObject_Click(std::int16_t index) {
  state_.intTarget = index;
  ShowChannels();
}

void ColourEditor::optDes_Click(std::int16_t index) {
  state_.intBase = index;
  ShowChannels();
}

}  // namespace editor
