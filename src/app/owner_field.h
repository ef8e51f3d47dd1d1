#pragma once
// The main window's owner ID field and its ICQ side: the key chain down to ICQ's Owners key, and
// the loading and applying of the owner's two colours.

#include <cstdint>

#include "app/channel_fields.h"
#include "app/texts.h"
#include "app/window_state.h"
#include "store/key_chain.h"
#include "store/registry.h"
#include "toolkit/form.h"

namespace app {

class OwnerField {
 public:
  OwnerField(tk::Form& form, WindowState& state, store::Registry& registry, ChannelFields& channels,
             const Texts& texts);

  // Opens Software\Mirabilis\ICQ\Owners for the whole run; returns the status of the last open.
  store::Status OpenKeyChain();
  void CloseKeyChain();
  // Shows the ID of the owner ICQ used last, or nothing when the chain is incomplete.
  void ReadLastOwner(store::Status chainStatus);

  // Reads both colours of the owner in the ID field; quiet about a missing owner during start-up.
  void LoadColors();
  // Writes both colours; true when they were stored. A failure has been reported to the user.
  bool ApplyColors();

 private:
  enum class Caller { kLoad, kApply };
  // Checks the ID and opens its key below Owners; reports what is wrong and yields kNoKey.
  store::Key OpenOwnerKey(Caller caller);
  bool WriteColors(store::Key sendMsg);
  void ShowIdError();
  void UnlockIdField();

  void txtID_Change();
  void txtID_LostFocus();
  void mnuChangeID_Click();

  tk::TextBox& txtID() const { return txtID_; }

  tk::Form& form_;
  tk::TextBox& txtID_;
  WindowState& state_;
  store::Registry& registry_;
  ChannelFields& channels_;
  store::KeyChain lngKey_;
  const Texts& texts_;
};

}  // namespace app
