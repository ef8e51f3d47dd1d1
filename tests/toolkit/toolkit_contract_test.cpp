// What the program relies on in the toolkit, checked through the test driver only, so that the same
// cases run natively on the headless backend and under Wine on the real controls.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "support/driver.h"
#include "toolkit/file_dialog.h"
#include "toolkit/form.h"

namespace {

using tk::CommandButton;
using tk::ControlKind;
using tk::kCtrlBit;
using tk::kShiftBit;
using tk::OptionButton;
using tk::TextBox;
using tktest::kVkBack;
using tktest::kVkDelete;
using tktest::kVkDown;
using tktest::kVkEscape;
using tktest::kVkHome;
using tktest::kVkReturn;
using tktest::kVkSpace;
using tktest::kVkTab;
using tktest::kVkUp;
constexpr std::int16_t kAlt = tk::kAltBit;

std::string Narrow(const std::u16string& text) {
  std::string narrow;
  for (char16_t c : text) narrow += c < 0x80 ? static_cast<char>(c) : '?';
  return narrow;
}

std::u16string DigitsOnly(const std::u16string& text) {
  std::u16string digits;
  for (char16_t c : text) {
    if (c >= u'0' && c <= u'9') digits += c;
  }
  return digits;
}

class SpecBuilder {
 public:
  // Names and captions are views: pass literals.
  SpecBuilder(std::string_view name, std::u16string_view caption) {
    spec_.name = name;
    spec_.caption = caption;
    spec_.clientWidth = 6000;
    spec_.clientHeight = 4800;
  }
  tk::ControlSpec& Add(ControlKind kind, std::string_view name, int index,
                       std::u16string_view caption, int tab, std::string_view container = {}) {
    tk::ControlSpec control;
    control.kind = kind;
    control.name = name;
    control.index = index;
    control.caption = caption;
    control.tabIndex = tab;
    control.container = container;
    const int slot = control.container.empty() ? placed_++ : inFrame_++;
    control.left = 120 + (slot / 9) * 1440;
    control.top = 120 + (slot % 9) * 480;
    control.width = 1300;
    control.height = 375;
    spec_.controls.push_back(std::move(control));
    return spec_.controls.back();
  }
  void Menu(std::string_view name, std::u16string_view caption, std::string_view parent = {},
            char16_t shortcut = 0) {
    spec_.menus.push_back({name, caption, parent, shortcut});
  }
  tk::FormSpec Build() { return std::move(spec_); }

 private:
  tk::FormSpec spec_;
  int placed_ = 0, inFrame_ = 0;
};

tk::FormSpec MainSpec() {
  SpecBuilder b("frmTest", u"Contract");
  b.Add(ControlKind::kCommandButton, "btnGo", -1, u"実行(&D)", 0);
  b.Add(ControlKind::kLabel, "lblName", -1, u"名前(&N) :", 1);
  b.Add(ControlKind::kTextBox, "txtName", -1, u"", 2);
  b.Add(ControlKind::kLabel, "lblCode", -1, u"番号(&C) :", 3);
  b.Add(ControlKind::kTextBox, "txtCode", -1, u"255", 4).maxLength = 3;
  constexpr std::u16string_view kArrCaptions[] = {u"a", u"b", u"c"};
  for (int i = 0; i < 3; ++i)
    b.Add(ControlKind::kCommandButton, "btnArr", i, kArrCaptions[i], 5 + i);
  b.Add(ControlKind::kOptionButton, "optPair", 0, u"左", 8);
  b.Add(ControlKind::kOptionButton, "optPair", 1, u"右", 9).selected = true;
  tk::ControlSpec& frame = b.Add(ControlKind::kFrame, "fraInner", -1, u"", 10);
  frame.width = 2800;
  frame.height = 1300;
  b.Add(ControlKind::kOptionButton, "optInner", 0, u"上", 11, "fraInner").selected = true;
  b.Add(ControlKind::kOptionButton, "optInner", 1, u"下", 12, "fraInner");
  b.Add(ControlKind::kTextBox, "txtOther", -1, u"xyz", 13);
  b.Menu("mnuFile", u"ﾌｧｲﾙ(&F)");
  b.Menu("mnuApply", u"適用(&A)", "mnuFile", u'A');
  b.Menu("mnuSaveAs", u"名前を付けて保存(&S)", "mnuFile", u'X');
  b.Menu("mnuNull0", u"-", "mnuFile");
  b.Menu("mnuEnd", u"適用して終了(&E)", "mnuFile", u'Z');
  b.Menu("mnuHelp", u"ﾍﾙﾌﾟ(&H)");
  return b.Build();
}

tk::FormSpec DialogSpec(bool multiLine = false) {
  SpecBuilder b("frmDialog", u"Dialog");
  b.Add(ControlKind::kTextBox, "txtEntry", -1, u"", 0).multiLine = multiLine;
  b.Add(ControlKind::kCommandButton, "btnOk", -1, u"OK", 1).defaultButton = true;
  b.Add(ControlKind::kCommandButton, "btnCancel", -1, u"キャンセル", 2).cancelButton = true;
  return b.Build();
}

class ToolkitContract : public ::testing::Test {
 protected:
  ToolkitContract() {
    for (const auto& control : form.Controls()) {
      const std::string name = std::string(control->Name()) +
                               (control->Index() >= 0 ? std::to_string(control->Index()) : "");
      control->GotFocus = [this, name] { log.push_back(name + " got"); };
      control->LostFocus = [this, name] { log.push_back(name + " lost"); };
      if (auto* button = dynamic_cast<CommandButton*>(control.get())) {
        button->Click = [this, name] { log.push_back(name + " click"); };
        button->MouseDown = [this, name](std::int16_t which, std::int16_t shift, float, float) {
          log.push_back(name + " down " + std::to_string(which) + "," + std::to_string(shift));
        };
      }
      control->KeyDown = [this, name](std::int16_t key, std::int16_t shift) {
        // Whether Shift, Ctrl and Alt raise KeyDown of their own depends on how input arrives.
        if (key >= 0x10 && key <= 0x12) return;
        log.push_back(name + " key " + std::to_string(key) + "," + std::to_string(shift));
      };
    }
    for (const auto& item : form.Menus()) {
      item->Click = [this, name = std::string(item->Name())] { log.push_back(name + " click"); };
    }
  }

  TextBox& Box(const char* name) { return form.Get<TextBox>(name); }
  CommandButton& Button(const char* name, int index = -1) {
    return form.Get<CommandButton>(name, index);
  }
  OptionButton& Option(const char* name, int index) { return form.Get<OptionButton>(name, index); }
  // The log from here on.
  std::vector<std::string> Since(std::size_t mark) const {
    return {log.begin() + static_cast<std::ptrdiff_t>(mark), log.end()};
  }
  std::vector<std::string> ClicksSince(std::size_t mark) const {
    std::vector<std::string> clicks;
    for (const std::string& entry : Since(mark)) {
      if (entry.find(" click") != std::string::npos) clicks.push_back(entry);
    }
    return clicks;
  }

  std::vector<std::string> log;
  std::unique_ptr<tktest::Driver> driver = tktest::MakeDriver();
  tk::FormSpec spec = MainSpec();
  tk::Form form{driver->App(), spec};
};

// ---------------------------------------------------------------------------------------------
// Text boxes

TEST_F(ToolkitContract, CodeSetRaisesChangeBeforeReturningAndOnlyForANewText) {
  driver->Show(form);
  TextBox& name = Box("txtName");
  int changes = 0;
  name.Change = [&] { ++changes; };

  name.SetText(u"abc");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(driver->ShownText(name), u"abc");

  name.SetText(u"abc");
  EXPECT_EQ(changes, 1) << "the same text again raises nothing";

  Box("txtCode").Change = [&] { ++changes; };
  Box("txtCode").SetText(u"255");
  EXPECT_EQ(changes, 1) << "the design-time text counts as held";
}

TEST_F(ToolkitContract, ChangeHandlerThatRewritesTheTextRunsTheNestedChangeInside) {
  driver->Show(form);
  TextBox& name = Box("txtName");
  name.Change = [&] {
    log.push_back("enter " + Narrow(name.Text()));
    const std::u16string clean = DigitsOnly(name.Text());
    if (clean != name.Text()) name.SetText(clean);
    log.push_back("leave " + Narrow(name.Text()));
  };

  const std::size_t mark = log.size();
  name.SetText(u"12a");
  EXPECT_EQ(Since(mark),
            (std::vector<std::string>{"enter 12a", "enter 12", "leave 12", "leave 12"}));
  EXPECT_EQ(driver->ShownText(name), u"12");
}

TEST_F(ToolkitContract, CaretStandsAtTheStartAfterACodeSet) {
  driver->Show(form);
  TextBox& name = Box("txtName");
  driver->Click(name);
  driver->Type(u"12");
  ASSERT_EQ(driver->ShownCaret(name), 2);

  name.SetText(u"345");
  EXPECT_EQ(driver->ShownCaret(name), 0);
  EXPECT_EQ(name.SelStart(), 0);
  driver->Type(u"6");
  EXPECT_EQ(driver->ShownText(name), u"6345") << "nothing selected: the key inserts";
}

TEST_F(ToolkitContract, TypingRaisesChangePerCharacterSoTyping12aLeaves12) {
  driver->Show(form);
  TextBox& name = Box("txtName");
  std::vector<std::string> seen;
  name.Change = [&] {
    seen.push_back(Narrow(name.Text()));
    const std::u16string clean = DigitsOnly(name.Text());
    if (clean != name.Text()) name.SetText(clean);
  };

  driver->Click(name);
  driver->Type(u"12a");
  EXPECT_EQ(seen, (std::vector<std::string>{"1", "12", "12a", "12"}));
  EXPECT_EQ(name.Text(), u"12");
  EXPECT_EQ(driver->ShownText(name), u"12");
}

TEST_F(ToolkitContract, LengthLimitStopsTypingButNotACodeSet) {
  driver->Show(form);
  TextBox& code = Box("txtCode");
  int changes = 0;
  code.Change = [&] { ++changes; };

  driver->Click(code);
  driver->Type(u"4");
  EXPECT_EQ(driver->ShownText(code), u"255") << "a full field refuses the character";
  EXPECT_EQ(changes, 0);

  driver->SelectAll();
  driver->Type(u"12345");
  EXPECT_EQ(code.Text(), u"123");
  EXPECT_EQ(driver->ShownText(code), u"123");
  EXPECT_EQ(changes, 3);

  code.SetText(u"12345");
  EXPECT_EQ(code.Text(), u"12345");
  EXPECT_EQ(driver->ShownText(code), u"12345");
  EXPECT_EQ(changes, 4);
}

TEST_F(ToolkitContract, EditingKeysRaiseKeyDownBeforeTheyEdit) {
  driver->Show(form);
  TextBox& other = Box("txtOther");
  other.Change = [&] { log.push_back("change " + Narrow(other.Text())); };
  driver->Click(other);

  std::size_t mark = log.size();
  driver->PressKey(kVkBack);
  EXPECT_EQ(Since(mark), (std::vector<std::string>{"txtOther key 8,0", "change xy"}));

  driver->PressKey(kVkHome);
  mark = log.size();
  driver->PressKey(kVkDelete);
  EXPECT_EQ(Since(mark), (std::vector<std::string>{"txtOther key 46,0", "change y"}));

  mark = log.size();
  driver->PressKey(kVkUp, kShiftBit);
  driver->PressKey(kVkDown, kAlt);
  EXPECT_EQ(Since(mark), (std::vector<std::string>{"txtOther key 38,1", "txtOther key 40,4"}))
      << "Alt makes a system key, which the field hears all the same";
  EXPECT_EQ(driver->ShownText(other), u"y");
}

// ---------------------------------------------------------------------------------------------
// Option buttons and control arrays

TEST_F(ToolkitContract, OptionsExcludeOnlyWithinTheirContainerAndClickOnUserAndCodeSelection) {
  for (int i = 0; i < 2; ++i) {
    for (const char* name : {"optPair", "optInner"}) {
      OptionButton& option = Option(name, i);
      option.Click = [this, &option, name] {
        log.push_back(std::string(name) + " click " + std::to_string(option.Index()));
      };
    }
  }
  driver->Show(form);

  std::size_t mark = log.size();
  driver->Click(Option("optPair", 0));
  EXPECT_EQ(ClicksSince(mark), (std::vector<std::string>{"optPair click 0"}));
  EXPECT_TRUE(driver->ShownChecked(Option("optPair", 0)));
  EXPECT_FALSE(driver->ShownChecked(Option("optPair", 1)));
  EXPECT_FALSE(Option("optPair", 1).Value());
  EXPECT_TRUE(driver->ShownChecked(Option("optInner", 0))) << "the frame's pair is left alone";
  EXPECT_FALSE(driver->ShownChecked(Option("optInner", 1)));

  mark = log.size();
  Option("optInner", 1).SetValue(true);
  EXPECT_EQ(ClicksSince(mark), (std::vector<std::string>{"optInner click 1"}));
  EXPECT_TRUE(driver->ShownChecked(Option("optInner", 1)));
  EXPECT_FALSE(driver->ShownChecked(Option("optInner", 0)));
  EXPECT_TRUE(driver->ShownChecked(Option("optPair", 0)));
  EXPECT_FALSE(driver->ShownChecked(Option("optPair", 1)));
}

TEST_F(ToolkitContract, ControlArrayMembersReportTheirIndex) {
  std::vector<int> clicked;
  for (int i = 0; i < 3; ++i) {
    CommandButton& button = Button("btnArr", i);
    button.Click = [&clicked, &button] { clicked.push_back(button.Index()); };
  }
  driver->Show(form);

  driver->Click(Button("btnArr", 2));
  driver->Click(Button("btnArr", 0));
  driver->Click(Button("btnArr", 1));
  EXPECT_EQ(clicked, (std::vector<int>{2, 0, 1}));
}

// ---------------------------------------------------------------------------------------------
// Focus, mouse and keyboard

TEST_F(ToolkitContract, FirstFocusIsTheFirstTabStopAndTabWalksTheTabOrder) {
  driver->Show(form);
  EXPECT_EQ(driver->ShownFocus(form), &Button("btnGo"));

  driver->PressKey(kVkTab);
  EXPECT_EQ(driver->ShownFocus(form), &Box("txtName")) << "labels take no focus";
  driver->PressKey(kVkTab);
  EXPECT_EQ(driver->ShownFocus(form), &Box("txtCode"));
  driver->PressKey(kVkTab, kShiftBit);
  driver->PressKey(kVkTab, kShiftBit);
  EXPECT_EQ(driver->ShownFocus(form), &Button("btnGo"));
  driver->PressKey(kVkTab, kShiftBit);
  EXPECT_EQ(driver->ShownFocus(form), &Box("txtOther")) << "Shift+Tab wraps to the last";

  Box("txtName").SetEnabled(false);
  driver->PressKey(kVkTab);
  driver->PressKey(kVkTab);
  EXPECT_EQ(driver->ShownFocus(form), &Box("txtCode")) << "a disabled field is skipped";
}

TEST_F(ToolkitContract, AccessKeyOfALabelFocusesTheNextFieldAndOfAButtonClicksIt) {
  driver->Show(form);

  std::size_t mark = log.size();
  driver->PressKey('N', kAlt);
  EXPECT_EQ(driver->ShownFocus(form), &Box("txtName"));
  EXPECT_EQ(Since(mark), (std::vector<std::string>{"btnGo lost", "txtName got"}));

  driver->PressKey('C', kAlt);
  EXPECT_EQ(driver->ShownFocus(form), &Box("txtCode"));
  driver->Type(u"7");
  EXPECT_EQ(driver->ShownText(Box("txtCode")), u"7") << "the field's text was selected";

  mark = log.size();
  driver->PressKey('D', kAlt);
  EXPECT_EQ(Since(mark), (std::vector<std::string>{"txtCode key 68,4", "txtCode lost", "btnGo got",
                                                   "btnGo click"}))
      << "a click by keyboard is no mouse press";
  mark = log.size();
  driver->PressKey(kVkSpace, kShiftBit);
  driver->PressKey(kVkDown);
  driver->PressKey(tk::kVkLeft);
  EXPECT_EQ(Since(mark), (std::vector<std::string>{"btnGo key 32,1", "btnGo click"}))
      << "a key reaches the focused button before its click; the arrows stay with the window";
}

TEST_F(ToolkitContract, MouseDownCarriesTheButtonAndShiftCtrlBits) {
  driver->Show(form);
  CommandButton& go = Button("btnGo");

  std::size_t mark = log.size();
  driver->Click(go, kShiftBit);
  driver->Click(go, kCtrlBit);
  driver->Click(go, kShiftBit | kCtrlBit);
  EXPECT_EQ(Since(mark),
            (std::vector<std::string>{"btnGo down 1,1", "btnGo click", "btnGo down 1,2",
                                      "btnGo click", "btnGo down 1,3", "btnGo click"}));

  driver->Click(Box("txtName"));
  mark = log.size();
  driver->Press(go, tk::kRightButton, kCtrlBit);
  driver->Press(go, tk::kMiddleButton, kShiftBit);
  EXPECT_EQ(Since(mark), (std::vector<std::string>{"btnGo down 2,2", "btnGo down 4,1"}))
      << "a right or middle press neither clicks nor takes the focus";
  EXPECT_EQ(driver->ShownFocus(form), &Box("txtName"));
}

TEST_F(ToolkitContract, TextBoxLosesTheFocusBeforeTheClickedButtonClicks) {
  driver->Show(form);
  driver->Click(Box("txtName"));

  const std::size_t mark = log.size();
  driver->Click(Button("btnArr", 1));
  EXPECT_EQ(Since(mark), (std::vector<std::string>{"txtName lost", "btnArr1 got",
                                                   "btnArr1 down 1,0", "btnArr1 click"}));
  EXPECT_EQ(driver->ShownFocus(form), &Button("btnArr", 1));
}

TEST_F(ToolkitContract, DisablingTheFocusedTextBoxLeavesNoFocus) {
  driver->Show(form);
  TextBox& name = Box("txtName");
  driver->Click(name);

  const std::size_t mark = log.size();
  name.SetEnabled(false);
  EXPECT_EQ(Since(mark), (std::vector<std::string>{"txtName lost"}));
  EXPECT_EQ(driver->ShownFocus(form), nullptr);
  EXPECT_FALSE(driver->ShownEnabled(name));

  driver->Type(u"x");
  driver->Click(name);
  EXPECT_EQ(driver->ShownText(name), u"");
  EXPECT_EQ(driver->ShownFocus(form), nullptr) << "a disabled field ignores clicks";
  EXPECT_EQ(log.size(), mark + 1);

  driver->Show(form);
  EXPECT_EQ(driver->ShownFocus(form), &Button("btnGo")) << "shown again, the first tab stop";
}

TEST_F(ToolkitContract, GotFocusHandlerCanPassTheFocusOn) {
  Box("txtOther").GotFocus = [&] {
    log.push_back("txtOther got");
    Button("btnGo").SetFocus();
  };
  driver->Show(form);
  driver->Click(Box("txtName"));

  const std::size_t mark = log.size();
  driver->Click(Box("txtOther"));
  EXPECT_EQ(Since(mark), (std::vector<std::string>{"txtName lost", "txtOther got", "txtOther lost",
                                                   "btnGo got"}));
  EXPECT_EQ(driver->ShownFocus(form), &Button("btnGo"));
}

TEST_F(ToolkitContract, EnterAndEscapeDoNothingWithoutDefaultAndCancelButtons) {
  int queries = 0;
  form.QueryUnload = [&](std::int16_t&, std::int16_t) { ++queries; };
  driver->Show(form);
  driver->Click(Box("txtName"));
  driver->Type(u"ab");

  const std::size_t mark = log.size();
  driver->PressKey(kVkReturn);
  driver->PressKey(kVkEscape);
  EXPECT_EQ(Since(mark), std::vector<std::string>{});
  EXPECT_EQ(driver->ShownText(Box("txtName")), u"ab");
  EXPECT_EQ(queries, 0);
  EXPECT_TRUE(form.IsLoaded());
}

TEST_F(ToolkitContract, EnterAndEscapeClickTheDefaultAndCancelButtons) {
  for (const bool multiLine : {false, true}) {  // also from a field that takes new lines
    SCOPED_TRACE(multiLine ? "multi-line" : "single-line");
    const tk::FormSpec dialogSpec = DialogSpec(multiLine);
    tk::Form dialog(driver->App(), dialogSpec);
    std::vector<std::string> clicks;
    for (const char* name : {"btnOk", "btnCancel"}) {
      dialog.Get<CommandButton>(name).Click = [&clicks, name] { clicks.push_back(name); };
    }
    driver->Show(dialog);
    driver->Type(u"x");

    driver->PressKey(kVkReturn);
    driver->PressKey(kVkEscape);
    EXPECT_EQ(clicks, (std::vector<std::string>{"btnOk", "btnCancel"}));
    EXPECT_EQ(driver->ShownText(dialog.Get<TextBox>("txtEntry")), u"x");
    dialog.Unload();
  }
}

// ---------------------------------------------------------------------------------------------
// Menus

TEST_F(ToolkitContract, ShortcutsActInsideATextBoxAndLeaveItsTextAlone) {
  driver->Show(form);
  TextBox& name = Box("txtName");
  driver->Click(name);
  driver->Type(u"abc");
  driver->SelectAll();
  int changes = 0;
  name.Change = [&] { ++changes; };

  const std::size_t mark = log.size();
  driver->PressKey('A', kCtrlBit);
  driver->PressKey('X', kCtrlBit);
  driver->PressKey('Z', kCtrlBit);
  for (const std::string& entry : Since(mark)) {
    EXPECT_EQ(entry.find("key 65"), std::string::npos) << entry;
    EXPECT_EQ(entry.find("key 88"), std::string::npos) << entry;
    EXPECT_EQ(entry.find("key 90"), std::string::npos) << entry;
  }
  EXPECT_EQ(ClicksSince(mark),
            (std::vector<std::string>{"mnuApply click", "mnuSaveAs click", "mnuEnd click"}));
  EXPECT_EQ(driver->ShownText(name), u"abc") << "not selected over, cut or undone";
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(driver->ShownFocus(form), &name);
}

TEST_F(ToolkitContract, MenuBarAccessKeyRunsAnItemWithoutSubItemsAtOnce) {
  driver->Show(form);

  std::size_t mark = log.size();
  driver->PressKey('H', kAlt);
  EXPECT_EQ(Since(mark), (std::vector<std::string>{"mnuHelp click"}));

  mark = log.size();
  driver->PressKey('F', kAlt);
  driver->PressKey(kVkEscape);
  EXPECT_EQ(Since(mark), std::vector<std::string>{}) << "Alt+F only opens the File menu";

  driver->ChooseMenu(form.Menu("mnuEnd"));
  EXPECT_EQ(Since(mark), (std::vector<std::string>{"mnuEnd click"}));
}

// ---------------------------------------------------------------------------------------------
// Forms: activation and unloading

TEST_F(ToolkitContract, ActivateOnFirstShowAndAfterAModalFormButNotAfterDialogs) {
  form.Activate = [&] { log.push_back("main activate"); };
  driver->Show(form);
  EXPECT_EQ(std::count(log.begin(), log.end(), "main activate"), 1);

  driver->AnswerNextMessageBox(tk::kAnswerOk);
  driver->App().MsgBox(u"text", tk::kMbOk, u"title");
  tk::FileDialog files(driver->App(), u"Tintmark", u"*.reg|*.reg", u"reg");
  driver->CancelNextFileDialog();
  files.ShowOpen();
  EXPECT_EQ(std::count(log.begin(), log.end(), "main activate"), 1);

  const tk::FormSpec modalSpec = DialogSpec();
  tk::Form modal(driver->App(), modalSpec);
  modal.Activate = [&] { log.push_back("modal activate"); };
  modal.Get<CommandButton>("btnOk").Click = [&] { modal.Unload(); };
  Button("btnGo").Click = [&] {
    modal.ShowModal();
    log.push_back("modal returned");
  };
  driver->WhenNextModalShown([&](tk::Form& shown) {
    log.push_back(&shown == &modal ? "modal up" : "another form up");
    driver->Click(shown.Get<CommandButton>("btnOk"));
  });

  const std::size_t mark = log.size();
  driver->Click(Button("btnGo"));
  std::vector<std::string> order;
  for (const std::string& entry : Since(mark)) {
    if (entry.find("activate") != std::string::npos || entry.starts_with("modal ")) {
      order.push_back(entry);
    }
  }
  EXPECT_EQ(order, (std::vector<std::string>{"modal activate", "modal up", "main activate",
                                             "modal returned"}));
  EXPECT_TRUE(modal.IsUnloaded());
  EXPECT_EQ(driver->UnexpectedDialogs(), 0);
}

TEST_F(ToolkitContract, FormPositionIsWrittenAndReadInScreenTwips) {
  driver->Show(form);
  form.Move(2400, 1800);
  EXPECT_EQ(form.Left(), 2400);
  EXPECT_EQ(form.Top(), 1800);
}

TEST_F(ToolkitContract, QueryUnloadGetsTheReasonAndCanCancel) {
  std::vector<int> modes;
  std::int16_t refuse = 1;
  form.QueryUnload = [&](std::int16_t& cancel, std::int16_t mode) {
    modes.push_back(mode);
    cancel = refuse;
  };
  driver->Show(form);

  driver->CloseBox(form);
  EXPECT_TRUE(form.IsLoaded());
  EXPECT_FALSE(form.Unload());
  EXPECT_TRUE(form.IsLoaded());

  refuse = 0;
  driver->EndSession(form);
  EXPECT_TRUE(form.IsUnloaded());
  EXPECT_EQ(modes,
            (std::vector<int>{tk::kUnloadByCloseBox, tk::kUnloadByCode, tk::kUnloadBySessionEnd}));
}

TEST_F(ToolkitContract, UnloadFromInsideQueryUnloadOfTheCloseBoxDestroysOnce) {
  std::vector<int> modes;
  form.QueryUnload = [&](std::int16_t&, std::int16_t mode) {
    modes.push_back(mode);
    if (mode == tk::kUnloadByCloseBox) {
      EXPECT_TRUE(form.Unload());
    }
  };
  driver->Show(form);

  driver->CloseBox(form);
  EXPECT_TRUE(form.IsUnloaded());
  EXPECT_TRUE(form.Unload()) << "unloading again is a no-op";
  EXPECT_EQ(modes, (std::vector<int>{tk::kUnloadByCloseBox, tk::kUnloadByCode}));
}

// ---------------------------------------------------------------------------------------------
// Message boxes, beep and file dialogs

TEST_F(ToolkitContract, MessageBoxAnswerComesBackAndTheBoxIsRecorded) {
  driver->Show(form);
  const std::u16string text = u"色の設定は変更されています。\r\n\r\n変更された設定を適用しますか？";
  const std::u16string title = u" - 注意！ - Tintmark";

  driver->AnswerNextMessageBox(tk::kAnswerYes);
  EXPECT_EQ(driver->App().MsgBox(text, tk::kMbYesNo + tk::kMbExclamation, title), tk::kAnswerYes);
  ASSERT_EQ(driver->MessageBoxes().size(), 1u);
  EXPECT_EQ(driver->MessageBoxes()[0].text, text);
  EXPECT_EQ(driver->MessageBoxes()[0].title, title);
  EXPECT_EQ(driver->MessageBoxes()[0].style, 52);
  EXPECT_EQ(driver->MessageBoxes()[0].answer, tk::kAnswerYes);
  EXPECT_EQ(driver->UnexpectedDialogs(), 0);

  EXPECT_EQ(driver->App().MsgBox(u"?", tk::kMbYesNo, u" - t - Tintmark"), tk::kAnswerYes)
      << "an unanswered box takes its first button";
  EXPECT_EQ(driver->UnexpectedDialogs(), 1);

  driver->App().Beep();
  driver->App().Beep();
  EXPECT_EQ(driver->Beeps(), 2);
}

TEST_F(ToolkitContract, FileDialogReturnsTheAnsweredPathOrReportsTheCancel) {
  driver->Show(form);
  tk::FileDialog files(driver->App(), u"Tintmark",
                       u"レジストリの項目 (*.reg) |*.reg|すべてのﾌｧｲﾙ (*.*) |*.*", u".reg");
  files.CancelError = true;
  files.FileName = u"colours.reg";
  files.Flags = 4;

  driver->AnswerNextFileDialog(u"C:\\saved colours.reg");
  EXPECT_EQ(files.ShowSave(), tk::DialogResult::kOk);
  EXPECT_EQ(files.FileName, u"C:\\saved colours.reg");

  driver->AnswerNextFileDialog(u"C:\\saved again");
  EXPECT_EQ(files.ShowSave(), tk::DialogResult::kOk);
  EXPECT_EQ(files.FileName, u"C:\\saved again.reg") << "the default extension added";

  driver->CancelNextFileDialog();
  EXPECT_EQ(files.ShowOpen(), tk::DialogResult::kCancelled);
  EXPECT_EQ(files.FileName, u"C:\\saved again.reg");

  ASSERT_EQ(driver->FileDialogs().size(), 3u);
  EXPECT_TRUE(driver->FileDialogs()[0].save);
  EXPECT_EQ(driver->FileDialogs()[0].fileName, u"colours.reg");
  EXPECT_EQ(driver->FileDialogs()[0].flags, 4);
  EXPECT_FALSE(driver->FileDialogs()[2].save);
  EXPECT_EQ(driver->UnexpectedDialogs(), 0);
}

}  // namespace
