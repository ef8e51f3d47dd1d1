// Colour files through the File menu's dialogs, a dropped file and the program's argument.

#include "app/main_window_harness.h"

namespace tktest {
namespace {

constexpr char kExample[] =
    "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Mirabilis\\ICQ\\Owners\\12345678\\Windows\\"
    "SendMsg]\r\n\"Pen Color\"=dword:000000FF\r\n\"Back Color\"=dword:00FFFFFF\r\n";
const MessageBoxCall kQuestion{u"開いた色設定を適用しますか？", 4, u"! - 適用確認 - Tintmark"};
const MessageBoxCall kReadError{u"色の設定ファイルを読み込めませんでした。\r\n\r\n", 48,
                                u" - 読み込みエラー - Tintmark"};
const MessageBoxCall kSaveError{u"色の設定を保存できませんでした。\r\n\r\n", 48,
                                u" - 保存エラー - Tintmark"};
constexpr std::uint32_t kOwnerPen = 0x123456, kOwnerBack = 0x654321;
constexpr char16_t kNotFound[] = u"\r\nファイルが見つかりません。";
constexpr char16_t kNotAColorFile[] = u"\r\n色の設定ファイルではありません。";

std::string File(std::string pen, std::string back, std::string first = "REGEDIT4") {
  return first + "\r\n\r\n[HKEY_CURRENT_USER\\x]\r\n" + pen + "\r\n" + back + "\r\n";
}
std::string Named(std::string pen, std::string back) {
  return File("\"Pen Color\"=dword:" + pen, "\"Back Color\"=dword:" + back);
}
std::string Unicode(std::string_view ascii) {
  std::string bytes = "\xFF\xFE";
  for (char c : ascii) (bytes += c) += '\0';
  return bytes;
}

class FileCommands : public MainWindowTest {
 protected:
  void TearDown() override {
    EXPECT_EQ(files->OpenFiles(), 0);
    EXPECT_EQ(driver->UnexpectedDialogs(), 0);
  }
  void StartWithOwner() {
    AddOwner(12345678, kOwnerPen, kOwnerBack);
    Start();
  }
  std::uint32_t Shown(int target) { return editor::ColorValue(State().intColor, target); }
  // The one message since the records were cleared, with `path` after its text.
  void ExpectMessage(const MessageBoxCall& expected, const std::u16string& path = u"") {
    ASSERT_EQ(driver->MessageBoxes().size(), 1u);
    EXPECT_EQ(LastMessage().text, expected.text + path);
    EXPECT_EQ(LastMessage().title, expected.title);
    EXPECT_EQ(LastMessage().style, expected.style);
    driver->ClearRecords();
  }
  // The dialog as the user gets it: the design's title, filter and default extension.
  static void ExpectDialog(const FileDialogCall& dialog, bool save, int flags) {
    EXPECT_EQ(dialog.save, save);
    EXPECT_EQ(dialog.title, u"Tintmark");
    EXPECT_EQ(dialog.filter, u"レジストリの項目 (*.reg) |*.reg|すべてのﾌｧｲﾙ (*.*) |*.*");
    EXPECT_EQ(dialog.defaultExt, u".reg");
    EXPECT_EQ(dialog.flags, flags);
  }

  const std::u16string folder = files->Folder(u"色の設定");
  const std::u16string path = folder + u"\\赤と白.reg";
};

TEST_F(FileCommands, SaveAsksForANameOnceThenWritesThereWithoutADialog) {
  AddOwner(12345678, 0x0000FF, 0xFFFFFF);
  Start();
  driver->AnswerNextFileDialog(path);
  driver->ChooseMenu(Menu("mnuSave"));
  EXPECT_EQ(files->Get(path), kExample);
  EXPECT_EQ(State().strFileName, path);
  EXPECT_TRUE(State().blnApplied);

  frm->Editor().SetColor(0x00FF00, editor::kPen);
  driver->ChooseMenu(Menu("mnuSave"));
  EXPECT_NE(files->Get(path)->find("\"Pen Color\"=dword:0000FF00\r\n"), std::string::npos);

  driver->AnswerNextFileDialog(folder + u"\\copy.reg");
  driver->ChooseMenu(Menu("mnuSaveAsNewName"));
  ASSERT_EQ(driver->FileDialogs().size(), 2u);
  for (const auto& dialog : driver->FileDialogs()) ExpectDialog(dialog, true, 2050);
  EXPECT_EQ(driver->FileDialogs()[1].fileName, path) << "the path chosen last";
  EXPECT_EQ(files->Names(folder), (std::vector<std::u16string>{u"copy.reg", u"赤と白.reg"}));
  EXPECT_TRUE(driver->MessageBoxes().empty());
}

TEST_F(FileCommands, OpenTakesBothColorsOrSaysWhyNotAndTakesNothing) {
  StartWithOwner();
  // A file the Open dialog would not take comes dropped: m missing (its folder too), d a folder.
  // h is held open by another program.
  const struct {
    const char* what;
    std::string bytes;
    bool read;
    std::uint32_t pen = 0, back = 0;
    std::u16string cause = u"";
    char file = 0;
  } cases[] = {
      {"the example", kExample, true, 0x0000FF, 0xFFFFFF},
      {"all bits set, top byte only", Named("FFFFFFFF", "ff000000"), true, 0xFFFF, 0},
      {"by name in any order", File("\"back color\"=dword:1", "\"Pen Color\"=dword:2"), true, 2, 1},
      {"another key's export", File("\"Left\"=dword:0000000c", "\"Top\"=dword:00000020"), false, 0,
       0, kNotAColorFile},
      {"the registry editor's Unicode form",
       Unicode(File("\"Pen Color\"=dword:000000ff", "\"Back Color\"=dword:00ffffff",
                    "Windows Registry Editor Version 5.00")),
       true, 0xFF, 0xFFFFFF},
      {"three lines", "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\x]\r\n", false, 0, 0, kNotAColorFile},
      {"a text file", "Buy milk.\r\n", false, 0, 0, kNotAColorFile},
      {"a colour line shorter than its prefix", File("\"Pen Color\"=dword", "x"), false, 0, 0,
       kNotAColorFile},
      {"over 1 MiB", kExample + std::string(1 << 20, ';'), false, 0, 0,
       u"\r\nファイルが大きすぎます。"},
      {"a file that is not there", "", false, 0, 0, kNotFound, 'm'},
      {"a folder", "", false, 0, 0, u"\r\nファイルではなくフォルダーです。", 'd'},
      {"a file another program holds", kExample, false, 0, 0,
       u"\r\nファイルを開けません。ほかのプログラムが使用中か、アクセスが許可されていません。",
       'h'},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    // A file of its own: only a file read becomes the current one and the dialog's next offer.
    const std::u16string name = std::u16string(c.file == 'm' ? u"\\missing" : u"") + u"\\" +
                                char16_t(u'a' + (&c - cases)) + u".reg";
    const std::u16string file = c.file == 'd' ? files->Folder(u"色の設定" + name) : folder + name;
    const std::u16string current = State().strFileName, offered = frm->CommonDialog1().FileName;
    if (!c.file || c.file == 'h') files->Put(file, c.bytes);
    if (c.file == 'h') files->HoldOpen(file);
    driver->Click(Button("btnReset"));
    driver->ClearRecords();
    driver->AnswerNextMessageBox(c.read ? tk::kAnswerNo : tk::kAnswerOk);
    if (c.file) {
      driver->DropFile(Form(), file);
    } else {
      driver->AnswerNextFileDialog(file);
      driver->ChooseMenu(Menu("mnuOpen"));
      ASSERT_EQ(driver->FileDialogs().size(), 1u);
      ExpectDialog(driver->FileDialogs()[0], false, 6144);
    }
    EXPECT_EQ(State().strFileName, c.read ? file : current);
    EXPECT_EQ(frm->CommonDialog1().FileName, c.read ? file : offered);
    ExpectMessage(c.read ? kQuestion : kReadError, c.read ? u"" : file + c.cause);
    EXPECT_EQ(Shown(editor::kPen), c.read ? c.pen : kOwnerPen);
    EXPECT_EQ(Shown(editor::kBack), c.read ? c.back : kOwnerBack);
    EXPECT_EQ(State().blnApplied, !c.read);
  }
  EXPECT_EQ(Stored(12345678, "Pen Color"), kOwnerPen) << "No applies nothing";

  files->Put(path, kExample);
  driver->AnswerNextFileDialog(path);
  driver->AnswerNextMessageBox(tk::kAnswerYes);
  driver->ChooseMenu(Menu("mnuOpen"));
  EXPECT_EQ(Stored(12345678, "Pen Color"), 0x0000FFu);
  EXPECT_EQ(Stored(12345678, "Back Color"), 0xFFFFFFu);
  EXPECT_TRUE(State().blnApplied);
}

TEST_F(FileCommands, ACancelledDialogReadsAndWritesNothingAndSaysNothing) {
  StartWithOwner();
  for (const char* menu : {"mnuOpen", "mnuSave", "mnuSaveAsNewName"}) {
    driver->CancelNextFileDialog();
    driver->ChooseMenu(Menu(menu));
  }
  EXPECT_EQ(driver->FileDialogs().size(), 3u);
  EXPECT_TRUE(driver->MessageBoxes().empty());
  EXPECT_TRUE(State().strFileName.empty());
  EXPECT_TRUE(State().blnApplied);
  EXPECT_EQ(files->Names(folder), std::vector<std::u16string>{});
}

// The argument is taken after the start-up load. (The real Open dialog takes no folder in which
// nothing can be created; a dropped file can lie in one.)
TEST_F(FileCommands, ArgumentsAndDroppedFilesTakeTheRoadOfOpenAfterTheDialog) {
  files->Put(path, kExample);
  fileArgument = path;
  driver->AnswerNextMessageBox(tk::kAnswerNo);
  StartWithOwner();
  ExpectMessage(kQuestion);
  EXPECT_EQ(Shown(editor::kPen), 0x0000FFu);
  EXPECT_EQ(Shown(editor::kBack), 0xFFFFFFu);
  EXPECT_EQ(frm->CommonDialog1().FileName, path) << "offered by the next dialog";

  const std::u16string locked = files->LockedFolder() + u"\\colours.reg";
  driver->AnswerNextMessageBox(tk::kAnswerOk);
  driver->DropFile(Form(), locked);
  ExpectMessage(kReadError, locked + kNotFound);
  EXPECT_EQ(State().strFileName, path) << "the file read last";
  EXPECT_EQ(frm->CommonDialog1().FileName, path);

  files->SetAttributes(path, files::kReadOnly);
  driver->AnswerNextMessageBox(tk::kAnswerOk);
  driver->ChooseMenu(Menu("mnuSave"));
  ExpectMessage(kSaveError, path);
  EXPECT_EQ(files->Attributes(path) & files::kReadOnly, files::kReadOnly);
  EXPECT_TRUE(driver->FileDialogs().empty());
}

// A drag from the desktop reaches the window under a modal one too; a close from outside (the
// task manager) may come while a box is up. Neither may act under the box.
TEST_F(FileCommands, WhileABoxIsUpADropIsRefusedAndACloseFromOutsideWaitsForIt) {
  StartWithOwner();
  files->Put(path, kExample);
  driver->WhenNextModalShown([&](tk::Form& box) {
    driver->DropFile(Form(), path);
    driver->Click(box.Find("cmdOK"));
  });
  driver->ChooseMenu(Menu("mnuHelp"));
  driver->WhileNextBoxIsUp([&] { driver->DropFile(Form(), path); });
  driver->CancelNextFileDialog();
  driver->ChooseMenu(Menu("mnuSaveAsNewName"));
  EXPECT_TRUE(driver->MessageBoxes().empty());
  EXPECT_EQ(Shown(editor::kPen), kOwnerPen);

  driver->WhileNextBoxIsUp([&] {
    driver->EndTask(Form());
    EXPECT_TRUE(Form().IsLoaded());
  });
  driver->AnswerNextMessageBox(tk::kAnswerYes);
  driver->DropFile(Form(), path);
  ExpectMessage(kQuestion);
  EXPECT_EQ(Stored(12345678, "Pen Color"), 0x0000FFu) << "the answer still counts";
  EXPECT_FALSE(Form().IsLoaded());
}

TEST(FirstArgument, IsTheFileThatExplorerPasses) {
  EXPECT_EQ(app::FirstArgument(u"Tintmark.exe"), u"");
  EXPECT_EQ(app::FirstArgument(u"\"C:\\Program Files\\T.exe\"  \"C:\\色の 設定\\a.reg\" b.reg"),
            u"C:\\色の 設定\\a.reg");
  EXPECT_EQ(app::FirstArgument(u"Tintmark colours.reg\tother.reg"), u"colours.reg");
}

}  // namespace
}  // namespace tktest
