#pragma once
// The ICQ side of the main window: the key chain down to ICQ's Owners key, the owner ID field, and
// the loading and applying of the owner's two colours.

#include <cstdint>

#include "app/window_state.h"
#include "editor/colour_editor.h"
#include "store/key_chain.h"
#include "store/registry.h"
#include "toolkit/form.h"

namespace store {

class OwnerStore {
 public:
  OwnerStore(tk::Form& form, app::WindowState& state, Registry& registry,
             editor::ColourEditor& editor);

  // Opens Software\Mirabilis\ICQ\Owners for the whole run; returns the status of the last open.
  Status OpenKeyChain();
  void CloseKeyChain();
  // Shows the ID of the owner ICQ used last, or nothing when the chain is incomplete.
  void ReadLastOwner(Status chainStatus);

  // Reads both colours of the owner in the ID field; quiet about a missing owner during start-up.
  void LoadColors();
  // Writes both colours; true when they were stored. A failure has been reported to the user.
  bool ApplyColors();

 private:
  enum class Caller { kLoad, kApply };
  // Checks the ID and opens its key below Owners; reports what is wrong and yields kNoKey.
  Key OpenOwnerKey(Caller caller);
  void ShowIdError();
  void UnlockIdField();

  void txtID_Change();
  void txtID_LostFocus();
  void mnuChangeID_Click();

  tk::TextBox& txtID() const;

  tk::Form& form_;
  app::WindowState& state_;
  Registry& registry_;
  editor::ColourEditor& editor_;
  KeyChain lngKey_;
};

}  // namespace store
