// Start-up, activation, quitting and unloading of the main window.

#include "app/main_window_harness.h"

namespace tktest {
namespace {

constexpr char16_t kQuitPrompt[] =
    u"色の設定は変更されています。\r\n\r\n変更された設定を適用しますか？";
constexpr char16_t kQuitTitle[] = u" - 注意！ - Tintmark";
constexpr int kAnswerCancel = 2;

class Lifecycle : public MainWindowTest {
 protected:
  // The About box, the program's other window, opened from the Help menu and closed with OK.
  void OpenAndCloseTheAboutBox() {
    driver->WhenNextModalShown(
        [this](tk::Form& box) { driver->Click(box.Get<tk::CommandButton>("cmdOK")); });
    driver->ChooseMenu(Menu("mnuHelp"));
  }
};

TEST_F(Lifecycle, WithoutIcqKeysTheFirstActivationAsksForTheId) {
  StartWithoutOwner();
  ASSERT_EQ(driver->MessageBoxes().size(), 1u);
  EXPECT_EQ(LastMessage().text, kIdRequestText);
  EXPECT_EQ(LastMessage().title, kIdRequestTitle);
  EXPECT_EQ(LastMessage().style, 64);
  EXPECT_TRUE(driver->ShownEnabled(Text("txtID")));
  EXPECT_EQ(driver->ShownFocus(Form()), &Text("txtID"));
  EXPECT_EQ(driver->ShownText(Text("txtID")), u"");
  EXPECT_TRUE(State().blnApplied);
  EXPECT_FALSE(State().blnStartup);
}

TEST_F(Lifecycle, LaterActivationsNeverLoad) {
  AddOwner(12345678, 0x000000FF, 0x00FFFFFF);
  Start();
  AddOwner(12345678, 0x000000FF, 0x00000000);
  OpenAndCloseTheAboutBox();
  EXPECT_EQ(Channels(), u"255,255,255");
  EXPECT_TRUE(driver->MessageBoxes().empty());
  EXPECT_EQ(driver->UnexpectedDialogs(), 0);
}

TEST_F(Lifecycle, StartShowsWhiteBackColorInDecimalAndTheHintBlackOnWhite) {
  StartWithoutOwner();
  EXPECT_EQ(Channels(), u"255,255,255");
  EXPECT_TRUE(driver->ShownChecked(Option("optDes", 0)));
  EXPECT_FALSE(driver->ShownChecked(Option("optDes", 1)));
  EXPECT_TRUE(driver->ShownChecked(Option("optObject", 1)));
  EXPECT_FALSE(driver->ShownChecked(Option("optObject", 0)));
  EXPECT_EQ(driver->ShownText(Text("txtTest")), u"Shift : 10ずつ変動    Ctrl  : 最大値/最小値");
  EXPECT_EQ(Text("txtTest").ForeColor(), 0x000000u);
  EXPECT_EQ(Text("txtTest").BackColor(), 0xFFFFFFu);
  EXPECT_EQ(State().intTarget, 1);
  EXPECT_EQ(State().intBase, 0);
  EXPECT_TRUE(State().strFileName.empty());
}

TEST_F(Lifecycle, TheFileDialogStartsInTheProgramFolderAndReportsCancel) {
  StartWithoutOwner();
  EXPECT_TRUE(frm->CommonDialog1().CancelError);
  const std::u16string& name = frm->CommonDialog1().FileName;
  ASSERT_GE(name.size(), 7u);
  EXPECT_EQ(name.substr(name.size() - 6), u"\\*.reg");
  EXPECT_NE(name.substr(0, name.size() - 6).find(u'\\'), std::u16string::npos)
      << "a full folder path comes first";
}

// Each road out of the window: whether it asks, with what answer, and whether the edit is written.
struct QuitRoad {
  const char* what;
  char road;  // Q the Quit button, C the close box, F File > Quit
  bool edited;
  int answer;  // 0: no question is asked
  bool writes;
  bool stays = false;  // the window and its edits are still there afterwards
};

const QuitRoad kQuitRoads[] = {
    {"Quit with nothing changed", 'Q', false, 0, false},
    {"close box with nothing changed", 'C', false, 0, false},
    {"File Quit drops an edit without asking", 'F', true, 0, false},
    {"Quit answered Yes applies then closes", 'Q', true, tk::kAnswerYes, true},
    {"close box answered No writes nothing", 'C', true, tk::kAnswerNo, false},
    {"close box answered Yes applies before the key chain closes", 'C', true, tk::kAnswerYes, true},
    // Esc or Alt+F4 on the box under Wine: it ends with Cancel although it has no such button.
    {"close box answered neither Yes nor No keeps all", 'C', true, kAnswerCancel, false, true},
};

void PrintTo(const QuitRoad& r, std::ostream* out) { *out << r.what; }

class QuitRoads : public Lifecycle, public ::testing::WithParamInterface<QuitRoad> {};

TEST_P(QuitRoads, AskOnlyAfterAnEditAndWriteOnlyOnYes) {
  const QuitRoad& r = GetParam();
  AddOwner(12345678, 0x000000FF, 0x00FFFFFF);
  Start();
  if (r.edited) frm->Editor().SetColor(0x00123456, 0);
  driver->ClearRecords();
  if (r.answer) driver->AnswerNextMessageBox(r.answer);
  if (r.road == 'Q') driver->Click(Button("btnQuit"));
  if (r.road == 'C') driver->CloseBox(Form());
  if (r.road == 'F') driver->ChooseMenu(Menu("mnuQuit"));
  EXPECT_EQ(Form().IsLoaded(), r.stays);
  EXPECT_EQ(State().blnApplied, !r.edited || r.writes);
  if (r.answer) {
    ASSERT_EQ(driver->MessageBoxes().size(), 1u);
    EXPECT_EQ(LastMessage().text, kQuitPrompt);
    EXPECT_EQ(LastMessage().title, kQuitTitle);
    EXPECT_EQ(LastMessage().style, 52);
  } else {
    EXPECT_TRUE(driver->MessageBoxes().empty());
  }
  EXPECT_EQ(Stored(12345678, "Pen Color"), r.writes ? 0x00123456u : 0x000000FFu);
  EXPECT_EQ(driver->Beeps(), r.writes ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Roads, QuitRoads, ::testing::ValuesIn(kQuitRoads),
                         [](const auto& info) { return CaseName(info.param.what); });

TEST_F(Lifecycle, SessionEndClosesWithoutAskingOrWritingOnceItIsNotCancelled) {
  AddOwner(12345678, 0x000000FF, 0x00FFFFFF);
  Start();
  frm->Editor().SetColor(0x00123456, 0);
  driver->EndSession(Form(), false);
  EXPECT_TRUE(Form().IsLoaded());
  EXPECT_FALSE(State().blnApplied) << "the edit is still there";
  driver->EndSession(Form());
  EXPECT_FALSE(Form().IsLoaded());
  EXPECT_TRUE(driver->MessageBoxes().empty());
  EXPECT_EQ(Stored(12345678, "Pen Color"), 0x000000FFu);
}

// The About box is no answer anyone waits for: a close from another program takes it along.
TEST_F(Lifecycle, ACloseFromOutsideWhileTheAboutBoxIsUpClosesBothWithoutWriting) {
  AddOwner(12345678, 0x000000FF, 0x00FFFFFF);
  Start();
  frm->Editor().SetColor(0x00123456, 0);
  driver->WhenNextModalShown([&](tk::Form& box) {
    driver->EndTask(Form());
    EXPECT_FALSE(box.IsLoaded());
  });
  driver->ChooseMenu(Menu("mnuHelp"));
  EXPECT_FALSE(Form().IsLoaded());
  EXPECT_TRUE(driver->MessageBoxes().empty());
  EXPECT_EQ(Stored(12345678, "Pen Color"), 0x000000FFu);
}

TEST_F(Lifecycle, ApplyAndQuitWithAnEmptyIdKeepsTheWindowOpen) {
  StartWithoutOwner();
  driver->ClearRecords();
  driver->AnswerNextMessageBox(tk::kAnswerOk);
  driver->ChooseMenu(Menu("mnuEnd"));
  ASSERT_EQ(driver->MessageBoxes().size(), 1u);
  EXPECT_EQ(LastMessage().title, u" - ID未入力 - Tintmark");
  EXPECT_TRUE(Form().IsLoaded()) << "the edits must survive a failed apply";
  EXPECT_EQ(driver->ShownFocus(Form()), &Text("txtID"));
}

TEST_F(Lifecycle, ApplyAndQuitWithAValidIdWritesBeepsAndCloses) {
  AddOwner(12345678, 0x000000FF, 0x00FFFFFF);
  Start();
  frm->Editor().SetColor(0x00654321, 0);
  driver->ChooseMenu(Menu("mnuEnd"));
  EXPECT_EQ(Stored(12345678, "Pen Color"), 0x00654321u);
  EXPECT_EQ(driver->Beeps(), 1);
  EXPECT_FALSE(Form().IsLoaded());
}

TEST_F(Lifecycle, ShortcutsActWhileATextFieldHasTheFocus) {
  AddOwner(12345678, 0x000000FF, 0x00FFFFFF);
  Start();
  driver->Click(Text("txtColor", 1));
  ASSERT_EQ(driver->ShownFocus(Form()), &Text("txtColor", 1));
  driver->PressKey('A', tk::kCtrlBit);  // apply, not "select all"
  EXPECT_EQ(driver->Beeps(), 1);
  EXPECT_EQ(driver->ShownText(Text("txtColor", 1)), u"255");
  driver->PressKey('Z', tk::kCtrlBit);  // apply and quit, not "undo"
  EXPECT_EQ(driver->Beeps(), 2);
  EXPECT_FALSE(Form().IsLoaded());
}

TEST_F(Lifecycle, EnterAndEscapeTriggerNoButton) {
  AddOwner(12345678, 0x000000FF, 0x00FFFFFF);
  Start();
  driver->PressKey(kVkReturn);
  driver->PressKey(kVkEscape);
  EXPECT_EQ(driver->Beeps(), 0);
  EXPECT_TRUE(Form().IsLoaded());
  EXPECT_TRUE(driver->MessageBoxes().empty());
}

TEST_F(Lifecycle, ChannelLabelAccessKeysFocusTheirFields) {
  AddOwner(12345678, 0x000000FF, 0x00FFFFFF);
  Start();
  EXPECT_EQ(driver->ShownFocus(Form()), &Button("btnAccept")) << "first focus on apply";
  driver->PressKey('G', tk::kAltBit);
  EXPECT_EQ(driver->ShownFocus(Form()), &Text("txtColor", 1));
  driver->PressKey('B', tk::kAltBit);
  EXPECT_EQ(driver->ShownFocus(Form()), &Text("txtColor", 2));
  driver->PressKey('R', tk::kAltBit);
  EXPECT_EQ(driver->ShownFocus(Form()), &Text("txtColor", 0));
}

TEST_F(Lifecycle, ChannelFieldsTakeThreeCharactersAndTheIdFieldAny) {
  StartWithoutOwner();
  driver->Type(u"123456789012");
  EXPECT_EQ(driver->ShownText(Text("txtID")), u"123456789012");
  driver->Click(Text("txtColor", 0));
  driver->SelectAll();
  driver->Type(u"12345");
  EXPECT_EQ(driver->ShownText(Text("txtColor", 0)).size(), 3u);
}

}  // namespace
}  // namespace tktest
