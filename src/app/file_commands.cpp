#include "app/file_commands.h"

#include <utility>

#include "common/scope_exit.h"
#include "editor/color_table.h"
#include "files/color_file.h"

namespace app {

namespace {

constexpr int kOpenFlags = 6144;  // file and folder must exist
constexpr int kSaveFlags = 2050;  // folder must exist; the dialog asks before replacing a file

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// Why a file could not be read, from the file access's status or, once read, the reader's failure.
std::u16string_view ReadErrorCause(const Texts& t, files::Status status,
                                   files::ReadFailure failure) {
  switch (status) {
    case files::kSuccess:
      return failure == files::ReadFailure::kTooLarge ? t.tooLarge : t.notAColorFile;
    case files::kFileNotFound:
    case files::kPathNotFound:
    case 15:   // ERROR_INVALID_DRIVE
    case 21:   // ERROR_NOT_READY: no medium in the drive
    case 53:   // ERROR_BAD_NETPATH
    case 67:   // ERROR_BAD_NET_NAME
    case 123:  // ERROR_INVALID_NAME
      return t.notFound;
    case files::kIsAFolder:
      return t.folder;
    case files::kFileTooLarge:
      return t.tooLarge;
    default:
      return t.cannotOpen;
  }
}

}  // namespace

FileCommands::FileCommands(tk::Form& form, WindowState& state, tk::FileDialog& commonDialog1,
                           files::FileAccess& fileAccess, ChannelFields& channels,
                           OwnerField& owner, const Texts& texts)
    : form_(form),
      txtID_(form.Get<tk::TextBox>("txtID")),
      state_(state),
      commonDialog1_(commonDialog1),
      fileAccess_(fileAccess),
      channels_(channels),
      owner_(owner),
      texts_(texts) {
  form_.Menu("mnuOpen").Click = [this] { mnuOpen_Click(); };
  form_.Menu("mnuSave").Click = [this] { mnuSave_Click(); };
  form_.Menu("mnuSaveAsNewName").Click = [this] { mnuSaveAsNewName_Click(); };
  form_.FileDropped = [this](const std::u16string& path) { Form_FileDropped(path); };
}

bool FileCommands::SaveColorFile() {
  const std::string bytes =
      files::ColorFileBytes(txtID_.Text(), editor::ColorValue(state_.intColor, editor::kPen),
                            editor::ColorValue(state_.intColor, editor::kBack));
  if (fileAccess_.ReplaceWhole(state_.strFileName, bytes) == files::kSuccess) return true;
  const std::u16string text =
      std::u16string(texts_.saveError.text) + u"\r\n\r\n" + state_.strFileName;
  MsgBox(form_.App(), {text, texts_.saveError.title}, tk::kMbOk | tk::kMbExclamation);
  return false;
}

bool FileCommands::OpenColorFile() {
  std::string bytes;
  files::ReadResult read;
  const files::Status status =
      fileAccess_.ReadWhole(state_.strFileName, files::kMaxColorFileSize, bytes);
  if (status != files::kSuccess || !(read = files::ReadColorFile(bytes)).Ok()) {
    const std::u16string text = std::u16string(texts_.readError.text) + u"\r\n\r\n" +
                                state_.strFileName + u"\r\n" +
                                std::u16string(ReadErrorCause(texts_, status, read.failure));
    MsgBox(form_.App(), {text, texts_.readError.title}, tk::kMbOk | tk::kMbExclamation);
    return false;
  }
  channels_.SetColor(read.pen, editor::kPen);
  channels_.SetColor(read.back, editor::kBack);
  state_.blnApplied = false;
  if (MsgBox(form_.App(), texts_.applyQuestion, tk::kMbYesNo) == tk::kAnswerYes) {
    owner_.ApplyColors();
  }
  return true;
}

void FileCommands::mnuOpen_Click() {
  const std::u16string offered = commonDialog1_.FileName;
  commonDialog1_.Flags = kOpenFlags;
  if (commonDialog1_.ShowOpen() != tk::DialogResult::kOk) return;
  OpenChosenFile(commonDialog1_.FileName, offered);
}

// Only a file that was read becomes the current file, which Save overwrites without asking: a
// text file opened by mistake must not be the next Save's target, whatever road leads out.
void FileCommands::OpenChosenFile(std::u16string path, std::u16string offeredBefore) {
  std::u16string current = std::exchange(state_.strFileName, path);
  commonDialog1_.FileName = std::move(path);
  common::ScopeExit putBack([&] {
    state_.strFileName = std::move(current);
    commonDialog1_.FileName = std::move(offeredBefore);
  });
  if (OpenColorFile()) putBack.Release();
}

// Asks for a name first while there is no current file; the file is then written once.
void FileCommands::mnuSave_Click() {
  if (state_.strFileName.empty()) {
    mnuSaveAsNewName_Click();
  } else {
    SaveColorFile();
  }
}

void FileCommands::mnuSaveAsNewName_Click() {
  commonDialog1_.Flags = kSaveFlags;
  if (commonDialog1_.ShowSave() != tk::DialogResult::kOk) return;
  state_.strFileName = commonDialog1_.FileName;
  SaveColorFile();
}

// As if chosen in the Open dialog, which offers it next time.
void FileCommands::Form_FileDropped(const std::u16string& path) {
  OpenChosenFile(path, commonDialog1_.FileName);
}

void FileCommands::OpenStartFile() {
  if (startFile_.empty()) return;
  Form_FileDropped(std::exchange(startFile_, std::u16string()));
}

std::u16string FirstArgument(std::u16string_view commandLine) {
  std::size_t i = 0;
  if (!commandLine.empty() && commandLine.front() == u'"') {
    i = commandLine.find(u'"', 1);
    i = i == std::u16string_view::npos ? commandLine.size() : i + 1;
  }
  while (i < commandLine.size() && !IsBlank(commandLine[i])) ++i;
  while (i < commandLine.size() && IsBlank(commandLine[i])) ++i;
  std::u16string argument;
  bool quoted = false;
  for (; i < commandLine.size() && (quoted || !IsBlank(commandLine[i])); ++i) {
    if (commandLine[i] == u'"') {
      quoted = !quoted;
    } else {
      argument += commandLine[i];
    }
  }
  return argument;
}

}  // namespace app
