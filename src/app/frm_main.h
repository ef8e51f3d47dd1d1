#pragma once
// The main window: its state, start-up, activation, the apply and quit commands and unloading.

#include <array>
#include <cstdint>
#include <functional>

#include "app/channel_fields.h"
#include "app/file_commands.h"
#include "app/owner_field.h"
#include "app/texts.h"
#include "app/window_state.h"
#include "files/file_access.h"
#include "store/registry.h"
#include "toolkit/file_dialog.h"
#include "toolkit/form.h"

namespace app {

class FrmMain {
 public:
  // Shows the About box in the given texts modally.
  using ShowAboutFunction = std::function<void(tk::Form& owner, const about::AboutTexts& texts)>;

  // The window in `texts`; without `showAbout` the About menu does nothing.
  FrmMain(tk::Application& app, store::Registry& registry, files::FileAccess& fileAccess,
          const Texts& texts, ShowAboutFunction showAbout = {});

  // Shows the window and handles events until it unloads. Where Windows cannot make the window,
  // tells the user and returns, having read and written nothing.
  void Run();

  tk::Form& Form() { return form_; }
  const WindowState& State() const { return state_; }
  tk::FileDialog& CommonDialog1() { return commonDialog1_; }
  ChannelFields& Editor() { return channels_; }
  FileCommands& Files() { return files_; }

 private:
  void Form_Load();
  void Form_Activate();
  void Form_QueryUnload(std::int16_t& cancel, std::int16_t unloadMode);
  void btnAccept_Click();
  void mnuAccept_Click();
  void mnuEnd_Click();
  void btnQuit_Click();
  void btnReset_Click();
  void mnuQuit_Click();
  void mnuHelp_Click();

  tk::Application& app_;
  const Texts& texts_;
  const tk::FormSpec spec_;  // the form holds on to it
  tk::Form form_;
  tk::TextBox& txtID_;
  tk::TextBox& txtTest_;
  const std::array<tk::TextBox*, 3> txtColor_;
  WindowState state_;
  tk::FileDialog commonDialog1_;
  ChannelFields channels_;
  OwnerField owner_;
  FileCommands files_;
  ShowAboutFunction showAbout_;
};

}  // namespace app
