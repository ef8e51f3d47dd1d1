#include "app/owner_field.h"

#include <array>
#include <string>

#include "common/scope_exit.h"
#include "store/color_values.h"
#include "store/names.h"
#include "store/owner_id.h"

namespace app {

using store::FilteredText;
using store::Key;
using store::kNoKey;
using store::kSuccess;
using store::OwnerColorKeys;

namespace {

constexpr std::size_t kLongestId = 10;

std::u16string Widen(const std::string& ascii) { return {ascii.begin(), ascii.end()}; }
std::string Narrow(const std::u16string& digits) {
  std::string ascii;
  for (char16_t c : digits) ascii += c < 0x80 ? static_cast<char>(c) : '?';
  return ascii;
}

}  // namespace

OwnerField::OwnerField(tk::Form& form, WindowState& state, store::Registry& registry,
                       ChannelFields& channels, const Texts& texts)
    : form_(form),
      txtID_(form.Get<tk::TextBox>("txtID")),
      state_(state),
      registry_(registry),
      channels_(channels),
      texts_(texts) {
  txtID().Change = [this] { txtID_Change(); };
  txtID().LostFocus = [this] { txtID_LostFocus(); };
  form_.Menu("mnuChangeID").Click = [this] { mnuChangeID_Click(); };
}

store::Status OwnerField::OpenKeyChain() { return lngKey_.Open(registry_); }

void OwnerField::CloseKeyChain() { lngKey_.Close(); }

void OwnerField::ReadLastOwner(store::Status chainStatus) {
  txtID().SetText(Widen(store::ReadLastOwner(registry_, lngKey_.Owners(), chainStatus)));
}

void OwnerField::txtID_Change() {
  if (state_.blnStartup) return;
  tk::TextBox& field = txtID();
  const FilteredText kept = store::FilterIdDigits(field.Text(), field.SelStart());
  if (kept.text == field.Text()) return;
  field.SetText(kept.text);
  field.SetSelStart(kept.caret);
}

void OwnerField::txtID_LostFocus() { txtID().SetEnabled(false); }

void OwnerField::mnuChangeID_Click() { UnlockIdField(); }

void OwnerField::UnlockIdField() {
  txtID().SetEnabled(true);
  txtID().SetFocus();
}

void OwnerField::ShowIdError() {
  MsgBox(form_.App(), texts_.idError, tk::kMbOk | tk::kMbExclamation);
  UnlockIdField();
}

Key OwnerField::OpenOwnerKey(Caller caller) {
  const std::u16string& id = txtID().Text();
  if (id.empty()) {
    MsgBox(form_.App(), texts_.emptyId, tk::kMbOk | tk::kMbExclamation);
    UnlockIdField();
    return kNoKey;
  }
  if (id.size() > kLongestId) {
    ShowIdError();
    return kNoKey;
  }
  Key owner = kNoKey;
  if (registry_.OpenKey(lngKey_.Owners(), Narrow(id), owner) != kSuccess) {
    if (caller == Caller::kApply || !state_.blnStartup) ShowIdError();
    return kNoKey;
  }
  return owner;
}

void OwnerField::LoadColors() {
  const Key owner = OpenOwnerKey(Caller::kLoad);
  if (owner == kNoKey) return;
  OwnerColorKeys keys(registry_, owner);
  for (int index = editor::kPen; index <= editor::kBack; ++index) {
    auto value =
        static_cast<std::uint32_t>(store::GetColorValue(registry_, keys.SendMsg(), index).value);
    if (value == 0xFFFFFFFF) value = 0x0000FFFF;
    channels_.SetColor(value, index);
  }
  keys.Close();
  state_.blnApplied = true;
}

bool OwnerField::ApplyColors() {
  const Key owner = OpenOwnerKey(Caller::kApply);
  if (owner == kNoKey) return false;
  OwnerColorKeys keys(registry_, owner);
  const bool stored = keys.Complete() && WriteColors(keys.SendMsg());
  if (stored) registry_.Flush(keys.SendMsg());
  keys.Close();
  if (!stored) {
    MsgBox(form_.App(), texts_.applyError, tk::kMbOk | tk::kMbExclamation);
    return false;
  }
  state_.blnApplied = true;
  form_.App().Beep();
  return true;
}

// Both colours or neither: the user is told that nothing was applied, so a value written before
// the other failed is put back, on every road out of here.
bool OwnerField::WriteColors(Key sendMsg) {
  std::array<store::RawValue, 2> before;
  for (int index = editor::kPen; index <= editor::kBack; ++index) {
    const store::Status read =
        registry_.QueryRaw(sendMsg, store::names::kColorValues[index], before[index]);
    if (read != kSuccess && read != store::kFileNotFound) return false;
  }
  int written = 0;
  common::ScopeExit putBack([&] {
    while (written > 0) {
      --written;
      registry_.RestoreRaw(sendMsg, store::names::kColorValues[written], before[written]);
    }
  });
  for (int index = editor::kPen; index <= editor::kBack; ++index) {
    const auto value = static_cast<std::int32_t>(editor::ColorValue(state_.intColor, index));
    if (store::PutColorValue(registry_, sendMsg, index, value) != kSuccess) return false;
    written = index + 1;
  }
  putBack.Release();
  return true;
}

}  // namespace app
