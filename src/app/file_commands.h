#pragma once
// The main window's colour files: Open, Save and Save under new name on the File menu, a file
// dropped on the window, and a file named on the command line.

#include <string>
#include <string_view>

#include "app/channel_fields.h"
#include "app/owner_field.h"
#include "app/texts.h"
#include "app/window_state.h"
#include "files/file_access.h"
#include "toolkit/file_dialog.h"
#include "toolkit/form.h"

namespace app {

class FileCommands {
 public:
  FileCommands(tk::Form& form, WindowState& state, tk::FileDialog& commonDialog1,
               files::FileAccess& fileAccess, ChannelFields& channels, OwnerField& owner,
               const Texts& texts);

  // A file to open once the start-up load is done, so that its colours win.
  void OpenAtStart(std::u16string path) { startFile_ = std::move(path); }
  // Called at each activation of the window, after the start-up load.
  void OpenStartFile();

  // Writes the colour file; false when it could not be written, which has been reported.
  bool SaveColorFile();
  // Reads both colours into the editor and offers to apply them; a file that cannot be read, or
  // lacks a colour, is reported, changes nothing and gives false.
  bool OpenColorFile();

 private:
  void mnuOpen_Click();
  void mnuSave_Click();
  void mnuSaveAsNewName_Click();
  void Form_FileDropped(const std::u16string& path);
  void OpenChosenFile(std::u16string path, std::u16string offeredBefore);

  tk::Form& form_;
  const tk::TextBox& txtID_;
  WindowState& state_;
  tk::FileDialog& commonDialog1_;
  files::FileAccess& fileAccess_;
  ChannelFields& channels_;
  OwnerField& owner_;
  std::u16string startFile_;
  const Texts& texts_;
};

// The first argument of a Windows command line (the program's own name left out), without its
// quotes: what Explorer passes for a file dragged onto the program or sent to it.
std::u16string FirstArgument(std::u16string_view commandLine);

}  // namespace app
