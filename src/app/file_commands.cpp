#include "app/file_commands.h"

#include <utility>

#include "common/scope_exit.h"
#include "editor/color_table.h"
#include "files/color_file.h"

namespace app {

namespace {

constexpr int kOpenFlags = 6144;  // file and folder must exist
constexpr int kSaveFlags = 2050;  // folder must exist; the dialog asks before replacing a file
constexpr char16_t kSaveErrorText[] = u"色の設定を保存できませんでした。";
constexpr char16_t kSaveErrorTitle[] = u" - 保存エラー - Tintmark";
constexpr char16_t kReadErrorText[] = u"色の設定ファイルを読み込めませんでした。";
constexpr char16_t kReadErrorTitle[] = u" - 読み込みエラー - Tintmark";
constexpr char16_t kNotFound[] = u"ファイルが見つかりません。";
constexpr char16_t kFolder[] = u"ファイルではなくフォルダーです。";
constexpr char16_t kCannotOpen[] =
    u"ファイルを開けません。ほかのプログラムが使用中か、アクセスが許可されていません。";
constexpr char16_t kTooLarge[] = u"ファイルが大きすぎます。";
constexpr char16_t kNotAColorFile[] = u"色の設定ファイルではありません。";
constexpr char16_t kApplyQuestion[] = u"開いた色設定を適用しますか？";
constexpr char16_t kApplyQuestionTitle[] = u"! - 適用確認 - Tintmark";

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// Why a file could not be read, from the file access's status or, once read, the reader's failure.
const char16_t* ReadErrorCause(files::Status status, files::ReadFailure failure) {
  switch (status) {
    case files::kSuccess:
      return failure == files::ReadFailure::kTooLarge ? kTooLarge : kNotAColorFile;
    case files::kFileNotFound:
    case files::kPathNotFound:
    case 15:   // ERROR_INVALID_DRIVE
    case 21:   // ERROR_NOT_READY: no medium in the drive
    case 53:   // ERROR_BAD_NETPATH
    case 67:   // ERROR_BAD_NET_NAME
    case 123:  // ERROR_INVALID_NAME
      return kNotFound;
    case files::kIsAFolder:
      return kFolder;
    case files::kFileTooLarge:
      return kTooLarge;
    default:
      return kCannotOpen;
  }
}

}  // namespace

FileCommands::FileCommands(tk::Form& form, WindowState& state, tk::FileDialog& commonDialog1,
                           files::FileAccess& fileAccess, ChannelFields& channels,
                           OwnerField& owner)
    : form_(form),
      txtID_(form.Get<tk::TextBox>("txtID")),
      state_(state),
      commonDialog1_(commonDialog1),
      fileAccess_(fileAccess),
      channels_(channels),
      owner_(owner) {
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
  form_.App().MsgBox(kSaveErrorText + (u"\r\n\r\n" + state_.strFileName),
                     tk::kMbOk | tk::kMbExclamation, kSaveErrorTitle);
  return false;
}

bool FileCommands::OpenColorFile() {
  std::string bytes;
  files::ReadResult read;
  const files::Status status =
      fileAccess_.ReadWhole(state_.strFileName, files::kMaxColorFileSize, bytes);
  if (status != files::kSuccess || !(read = files::ReadColorFile(bytes)).Ok()) {
    form_.App().MsgBox(kReadErrorText + (u"\r\n\r\n" + state_.strFileName + u"\r\n") +
                           ReadErrorCause(status, read.failure),
                       tk::kMbOk | tk::kMbExclamation, kReadErrorTitle);
    return false;
  }
  channels_.SetColor(read.pen, editor::kPen);
  channels_.SetColor(read.back, editor::kBack);
  state_.blnApplied = false;
  if (form_.App().MsgBox(kApplyQuestion, tk::kMbYesNo, kApplyQuestionTitle) == tk::kAnswerYes) {
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
