#include "app/channel_fields.h"

#include "editor/channel_rules.h"
#include "toolkit/virtual_keys.h"

namespace app {

namespace {
constexpr int kChannels = 3;
}  // namespace

ChannelFields::ChannelFields(tk::Form& form, WindowState& state, const Texts& texts)
    : state_(state),
      txtColor_(form.GetArray<tk::TextBox, kChannels>("txtColor")),
      btnUp_(form.GetArray<tk::CommandButton, kChannels>("btnUp")),
      btnDown_(form.GetArray<tk::CommandButton, kChannels>("btnDown")),
      optObject_(form.GetArray<tk::OptionButton, 2>("optObject")),
      optDes_(form.GetArray<tk::OptionButton, 2>("optDes")),
      txtTest_(form.Get<tk::TextBox>("txtTest")),
      btnAccept_(form.Get<tk::CommandButton>("btnAccept")),
      sampleHint_(texts.sampleHint) {
  for (std::int16_t i = 0; i < kChannels; ++i) {
    tk::TextBox& field = txtColor(i);
    field.Change = [this, i] { txtColor_Change(i); };
    field.LostFocus = [this, i] { txtColor_LostFocus(i); };
    field.KeyDown = [this, i](std::int16_t keyCode, std::int16_t) { txtColor_KeyDown(i, keyCode); };
    btnUp_[i]->MouseDown = [this, i](std::int16_t, std::int16_t shift, float, float) {
      btnUp_MouseDown(i, shift);
    };
    btnDown_[i]->MouseDown = [this, i](std::int16_t, std::int16_t shift, float, float) {
      btnDown_MouseDown(i, shift);
    };
    btnUp_[i]->KeyDown = [this, i](std::int16_t keyCode, std::int16_t shift) {
      btnUp_KeyDown(i, keyCode, shift);
    };
    btnDown_[i]->KeyDown = [this, i](std::int16_t keyCode, std::int16_t shift) {
      btnDown_KeyDown(i, keyCode, shift);
    };
  }
  for (std::int16_t i = 0; i < 2; ++i) {
    optObject_[i]->Click = [this, i] { optObject_Click(i); };
    optDes_[i]->Click = [this, i] { optDes_Click(i); };
  }
  txtTest_.Change = [this] { txtTest_Change(); };
  txtTest_.GotFocus = [this] { txtTest_GotFocus(); };
}

std::int16_t& ChannelFields::Component(int index) {
  return state_.intColor[state_.intTarget][index];
}

std::u16string ChannelFields::ColorCode(int target, bool withPrefix) const {
  return editor::ColorCode(state_.intColor, target, withPrefix);
}

void ChannelFields::SetColor(std::uint32_t color, int target) {
  editor::StoreColorValue(state_.intColor, color, target);
  if (target == state_.intTarget) ShowChannels();
  ShowSample();
  state_.blnApplied = false;
}

void ChannelFields::ShowSample() {
  txtTest_.SetForeColor(editor::ColorCodeValue(ColorCode(editor::kPen, true)));
  txtTest_.SetBackColor(editor::ColorCodeValue(ColorCode(editor::kBack, true)));
}

void ChannelFields::ShowChannel(int index, int value) {
  txtColor(index).SetText(editor::ChannelText(value, state_.intBase));
}

void ChannelFields::ShowChannels() {
  const bool applied = state_.blnApplied;
  for (int channel = editor::kRed; channel <= editor::kBlue; ++channel) {
    ShowChannel(channel, state_.intColor[state_.intTarget][channel]);
  }
  state_.blnApplied = applied;
}

// Runs again, nested, when it rewrites the field; the nested run finds the text clean.
void ChannelFields::txtColor_Change(std::int16_t index) {
  tk::TextBox& field = txtColor(index);
  // An emptied field keeps its component until the field is left.
  if (field.Text().empty()) return;
  const editor::ChannelEntry entry =
      editor::CleanChannelText(field.Text(), state_.intBase, field.SelStart());
  Component(index) = static_cast<std::int16_t>(entry.value);
  if (entry.text != field.Text()) {
    field.SetText(entry.text);
    field.SetSelStart(entry.caret);
  }
  state_.blnApplied = false;
  ShowSample();
}

void ChannelFields::txtColor_LostFocus(std::int16_t index) {
  tk::TextBox& field = txtColor(index);
  const bool applied = state_.blnApplied;
  const std::int16_t before = Component(index);
  if (field.Text().empty()) Component(index) = 0;
  // A leave that leaves the component as it was is no edit, whatever it does to the text (000
  // to 0, 7 to 07): only an emptied field whose component becomes 0 counts as edited.
  field.SetText(editor::LeftText(field.Text(), Component(index), state_.intBase));
  if (Component(index) == before) state_.blnApplied = applied;
  ShowSample();
}

void ChannelFields::txtColor_KeyDown(std::int16_t index, std::int16_t keyCode) {
  if (keyCode == tk::kVkUp) txtColor((index + kChannels - 1) % kChannels).SetFocus();
  if (keyCode == tk::kVkDown) txtColor((index + 1) % kChannels).SetFocus();
}

void ChannelFields::btnUp_MouseDown(std::int16_t index, std::int16_t shift) {
  Step(index, shift, +1);
}

void ChannelFields::btnDown_MouseDown(std::int16_t index, std::int16_t shift) {
  Step(index, shift, -1);
}

// Space on a focused button steps as a press of the left mouse button does, so that the keyboard
// alone can step.
void ChannelFields::btnUp_KeyDown(std::int16_t index, std::int16_t keyCode, std::int16_t shift) {
  if (keyCode == tk::kVkSpace) btnUp_MouseDown(index, shift);
}

void ChannelFields::btnDown_KeyDown(std::int16_t index, std::int16_t keyCode, std::int16_t shift) {
  if (keyCode == tk::kVkSpace) btnDown_MouseDown(index, shift);
}

void ChannelFields::Step(std::int16_t index, std::int16_t shift, int direction) {
  const int step = editor::StepSize(shift, state_.intBase);
  txtColor(index).SetText(editor::SteppedText(Component(index), direction * step, state_.intBase));
  txtColor_LostFocus(index);
}

void ChannelFields::optObject_Click(std::int16_t index) {
  state_.intTarget = index;
  ShowChannels();
}

void ChannelFields::optDes_Click(std::int16_t index) {
  state_.intBase = index;
  ShowChannels();
}

// The sample box always shows the hint, whatever reached its text.
void ChannelFields::txtTest_Change() { txtTest_.SetText(sampleHint_); }

void ChannelFields::txtTest_GotFocus() { btnAccept_.SetFocus(); }

}  // namespace app
