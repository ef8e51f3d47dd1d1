// Editing a colour: the channel fields, their ▲ / ▼ buttons, the arrow keys, the options and the
// sample, as the user meets them.

#include "app/main_window_harness.h"

namespace tktest {
namespace {

class ChannelFields : public MainWindowTest {
 protected:
  void SetUp() override {
    AddOwner(12345678, 0x00000000, 0x00FFFFFF);
    Start();
  }
};

TEST_F(ChannelFields, SetColorForTheShownTargetRewritesTheFieldsAndCountsAsAnEdit) {
  ASSERT_TRUE(State().blnApplied);
  frm->Editor().SetColor(0xFF123456, 1);
  EXPECT_EQ(Channels(), u"86,52,18");
  EXPECT_EQ(Text("txtTest").BackColor(), 0x123456u);
  EXPECT_FALSE(State().blnApplied);
}

TEST_F(ChannelFields, SetColorForTheHiddenTargetRepaintsOnlyTheSample) {
  frm->Editor().SetColor(0x000080FF, 0);
  EXPECT_EQ(Channels(), u"255,255,255");
  EXPECT_EQ(Text("txtTest").ForeColor(), 0x80FFu);
  EXPECT_EQ(frm->Editor().ColorCode(0, true), u"&H000080FF");
  EXPECT_FALSE(State().blnApplied);
}

TEST_F(ChannelFields, ChoosingTheOtherColorOrBaseIsNeverAnEdit) {
  frm->Editor().SetColor(0x000080FF, 1);  // red 255, green 128, blue 0
  driver->Click(Option("optDes", 1));
  EXPECT_EQ(Channels(), u"FF,80,00");
  EXPECT_TRUE(driver->ShownChecked(Option("optObject", 1))) << "the other group is untouched";
  driver->Click(Option("optDes", 0));
  EXPECT_EQ(Channels(), u"255,128,0");
  EXPECT_FALSE(State().blnApplied) << "an unapplied edit stays unapplied";

  driver->Click(Option("optObject", 0));
  EXPECT_EQ(Channels(), u"0,0,0");
  EXPECT_TRUE(driver->ShownChecked(Option("optDes", 0))) << "the other group is untouched";
  EXPECT_EQ(State().intTarget, 0);
}

TEST_F(ChannelFields, ShowChannelsKeepsAnAppliedStateApplied) {
  ASSERT_TRUE(State().blnApplied);
  driver->Click(Option("optDes", 1));
  driver->Click(Option("optObject", 0));
  EXPECT_EQ(Channels(), u"00,00,00");
  EXPECT_TRUE(State().blnApplied);
}

// What the user does to the red field of the back colour: T types `text`, P pastes it, E erases
// the field, L leaves it with Tab, U and D press ▲ and ▼ with `shift` and `button`, S and W press
// Space with `shift` on a focused ▲ and ▼, A applies with Ctrl+A.
struct Act {
  char what;
  std::u16string text = {};
  std::int16_t shift = 0;
  std::int16_t button = tk::kLeftButton;
};

constexpr int kDec = 0, kHex = 1, kUnchecked = -1;
constexpr std::int16_t kShift = tk::kShiftBit, kCtrl = tk::kCtrlBit, kRight = tk::kRightButton;

// The field starts at `start`; afterwards it shows `text` and holds `value`.
struct EditCase {
  const char* what;
  int base;
  int start;
  std::vector<Act> acts;
  std::u16string text;
  int value;
  int caret = kUnchecked;
  bool applied = false;  // whether nothing counts as edited afterwards
};

const EditCase kEditCases[] = {
    {"a letter is dropped", kDec, 255, {{'T', u"12a"}}, u"12", 12, 2},
    {"the caret stays where the user typed", kDec, 255, {{'T', u"12a3"}}, u"123", 123, 3},
    {"above 255 is 255", kDec, 255, {{'T', u"300"}}, u"255", 255},
    {"a leading minus gives 0", kDec, 255, {{'P', u"-5"}}, u"0", 0, 1},
    {"a trailing minus gives 0", kDec, 255, {{'P', u"5-"}}, u"0", 0, 1},
    {"typing after a minus goes after its 0", kDec, 255, {{'T', u"-5"}}, u"05", 5, 2},
    {"no digit gives 0", kDec, 255, {{'T', u"abc"}}, u"0", 0, 1},
    {"leading zeros stay", kDec, 255, {{'T', u"007"}}, u"007", 7},
    {"...but 000 is 0 when left", kDec, 255, {{'T', u"000"}, {'L'}}, u"0", 0},
    {"full-width digits are dropped", kDec, 255, {{'T', u"１２"}}, u"0", 0},
    {"an emptied field keeps its value", kDec, 200, {{'E'}}, u"", 200, kUnchecked, true},
    {"an emptied field left is 0", kDec, 200, {{'E'}, {'L'}}, u"0", 0},
    {"lower case is upper-cased", kHex, 0, {{'T', u"af"}}, u"AF", 175, 2},
    {"the last two digits count", kHex, 0, {{'T', u"1A5"}}, u"A5", 165, 2},
    {"no hexadecimal digit gives 0", kHex, 255, {{'T', u"g"}}, u"0", 0},
    {"...and 00 when left", kHex, 255, {{'T', u"g"}, {'L'}}, u"00", 0},
    {"one digit stays while focused", kHex, 255, {{'T', u"7"}}, u"7", 7},
    {"...and is padded when left", kHex, 255, {{'T', u"7"}, {'L'}}, u"07", 7},
    {"padding after an apply is no edit",
     kHex,
     255,
     {{'T', u"7"}, {'A'}, {'L'}},
     u"07",
     7,
     kUnchecked,
     true},
    {"a lone minus gives 00 when left", kHex, 255, {{'T', u"-"}, {'L'}}, u"00", 0},
    {"leaving 00 is no edit", kHex, 0, {{'T', u""}, {'L'}}, u"00", 0, kUnchecked, true},
    {"Shift+▲ stops at 255", kDec, 250, {{'U', {}, kShift}}, u"255", 255},
    {"Shift+▲ stops at FF", kHex, 250, {{'U', {}, kShift}}, u"FF", 255},
    {"Shift+▼ from 10 is 0", kDec, 10, {{'D', {}, kShift}}, u"0", 0},
    {"Shift+▼ from 5 is 0", kDec, 5, {{'D', {}, kShift}}, u"0", 0},
    {"Shift+▼ from 3 is 00", kHex, 3, {{'D', {}, kShift}}, u"00", 0},
    {"Shift steps by 16 in hexadecimal", kHex, 0, {{'U', {}, kShift}}, u"10", 16},
    {"Ctrl+▲ is the largest value", kDec, 0, {{'U', {}, kCtrl}}, u"255", 255},
    {"Ctrl+▼ is the smallest value", kHex, 200, {{'D', {}, kCtrl}}, u"00", 0},
    {"Ctrl with Shift steps by 255", kDec, 1, {{'U', {}, kCtrl | kShift}}, u"255", 255},
    {"▲ on 255 still counts as an edit", kDec, 255, {{'U'}}, u"255", 255},
    {"▼ below 0 stays 0", kDec, 0, {{'D'}}, u"0", 0},
    {"a right press steps", kHex, 8, {{'U', {}, 0, kRight}}, u"09", 9},
    {"Shift+middle press steps 10", kDec, 100, {{'U', {}, kShift, tk::kMiddleButton}}, u"110", 110},
    {"Space on ▲ steps as a left press", kDec, 100, {{'S'}}, u"101", 101},
    {"Shift+Space on ▼ steps 16 in hexadecimal", kHex, 0x20, {{'W', {}, kShift}}, u"10", 16},
    {"Ctrl+Space on ▲ is the largest value", kDec, 7, {{'S', {}, kCtrl}}, u"255", 255},
    // The field is left before its own button acts, so the step starts from the emptied 0; a
    // right press takes no focus and steps from the value the field had.
    {"▲ by the left button on an emptied field", kDec, 100, {{'E'}, {'U'}}, u"1", 1},
    {"▲ by the right button on an emptied field",
     kDec,
     100,
     {{'E'}, {'U', {}, 0, kRight}},
     u"101",
     101},
};

void PrintTo(const EditCase& c, std::ostream* out) { *out << c.what; }

class ChannelEditing : public MainWindowTest, public ::testing::WithParamInterface<EditCase> {
 protected:
  void Run(const EditCase& c) {
    AddOwner(12345678, 0x00000000, 0x00808000 | static_cast<std::uint32_t>(c.start));
    Start();
    if (c.base == kHex) driver->Click(Option("optDes", 1));
    for (const Act& act : c.acts) Do(act);
  }
  void Focus() {
    if (driver->ShownFocus(Form()) == &Text("txtColor", 0)) return;
    driver->Click(Text("txtColor", 0));
    driver->SelectAll();
  }
  void Do(const Act& act) {
    switch (act.what) {
      case 'T':
      case 'P':
      case 'E':
        Focus();
        if (act.what == 'T') driver->Type(act.text);
        if (act.what == 'P') driver->Paste(act.text);
        if (act.what == 'E') driver->PressKey(kVkBack);
        break;
      case 'A':
        driver->PressKey('A', tk::kCtrlBit);
        break;
      case 'L':
        driver->PressKey(kVkTab);
        break;
      case 'U':
      case 'D':
        driver->Press(Button(act.what == 'U' ? "btnUp" : "btnDown", 0), act.button, act.shift);
        break;
      case 'S':
      case 'W':
        Focus();
        driver->PressKey(kVkTab);
        if (act.what == 'W') driver->PressKey(kVkTab);
        ASSERT_EQ(driver->ShownFocus(Form()), &Button(act.what == 'S' ? "btnUp" : "btnDown", 0));
        driver->PressKey(kVkSpace, act.shift);
        break;
    }
  }
};

TEST_P(ChannelEditing, FieldShowsAndHolds) {
  const EditCase& c = GetParam();
  SCOPED_TRACE(c.what);
  Run(c);
  EXPECT_EQ(driver->ShownText(Text("txtColor", 0)), c.text);
  EXPECT_EQ(State().intColor[1][0], c.value);
  if (c.caret != kUnchecked) {
    EXPECT_EQ(driver->ShownCaret(Text("txtColor", 0)), c.caret);
  }
  EXPECT_EQ(State().blnApplied, c.applied);
  EXPECT_EQ(Text("txtTest").BackColor() & 0xFF, static_cast<unsigned>(c.value))
      << "the sample follows the field";
}

INSTANTIATE_TEST_SUITE_P(Cases, ChannelEditing, ::testing::ValuesIn(kEditCases),
                         [](const auto& info) { return CaseName(info.param.what); });

class ChannelFieldsInUse : public MainWindowTest {
 protected:
  void SetUp() override {
    AddOwner(12345678, 0x00000000, 0x00FFFFFF);
    Start();
  }
  tk::Control* Focus() { return driver->ShownFocus(Form()); }
};

TEST_F(ChannelFieldsInUse, ArrowKeysMoveBetweenTheFieldsWrappingAndLeaveTheFieldBehind) {
  driver->Click(Option("optDes", 1));
  driver->Click(Text("txtColor", 0));
  driver->SelectAll();
  driver->Type(u"7");
  driver->PressKey(kVkUp);
  EXPECT_EQ(Focus(), &Text("txtColor", 2)) << "up from red wraps to blue";
  EXPECT_EQ(driver->ShownText(Text("txtColor", 0)), u"07") << "the field left was padded";
  driver->PressKey(kVkDown, tk::kShiftBit);
  EXPECT_EQ(Focus(), &Text("txtColor", 0)) << "down from blue wraps to red";
  driver->PressKey(kVkDown, tk::kAltBit);
  EXPECT_EQ(Focus(), &Text("txtColor", 1)) << "Alt makes no difference";
  driver->PressKey(kVkUp, tk::kCtrlBit);
  EXPECT_EQ(Focus(), &Text("txtColor", 0));
}

TEST_F(ChannelFieldsInUse, ChangeHandlingNestsAtMostTwoDeep) {
  tk::TextBox& red = Text("txtColor", 0);
  int depth = 0, deepest = 0, runs = 0;
  red.Change = [&, handler = red.Change] {
    ++runs;
    deepest = std::max(deepest, ++depth);
    handler();
    --depth;
  };
  driver->Click(red);
  driver->SelectAll();
  driver->Type(u"300");
  EXPECT_EQ(driver->ShownText(red), u"255");
  EXPECT_EQ(deepest, 2);
  EXPECT_EQ(runs, 4) << "3, 30, 300 and inside it the rewrite to 255";
  driver->Click(Button("btnUp", 0));  // writes 256, which is rewritten to 255
  EXPECT_EQ(deepest, 2);
  EXPECT_EQ(runs, 6);
}

TEST_F(ChannelFieldsInUse, TheSampleHandsItsFocusToApplyAndKeepsItsHint) {
  const std::u16string hint = u"Shift : 10ずつ変動    Ctrl  : 最大値/最小値";
  driver->Click(Text("txtTest"));
  EXPECT_EQ(Focus(), &Button("btnAccept"));
  Button("btnQuit").SetFocus();
  driver->PressKey(kVkTab);
  EXPECT_EQ(Focus(), &Button("btnAccept")) << "Tab onto the sample lands on Apply";
  Text("txtTest").SetText(u"pasted");
  EXPECT_EQ(driver->ShownText(Text("txtTest")), hint);
  EXPECT_TRUE(State().blnApplied);
}

TEST_F(ChannelFieldsInUse, AShortcutWhileAFieldIsEmptyAppliesTheValueItHadAndQuitAsksAfterAnEdit) {
  driver->Click(Text("txtColor", 1));
  driver->SelectAll();
  driver->Type(u"18");
  driver->PressKey(kVkBack);
  driver->PressKey(kVkBack);
  ASSERT_EQ(driver->ShownText(Text("txtColor", 1)), u"");
  driver->PressKey('A', tk::kCtrlBit);
  EXPECT_EQ(Stored(12345678, "Back Color"), 0x00FF01FFu) << "green 1, as before it was emptied";

  driver->Type(u"32");
  driver->AnswerNextMessageBox(tk::kAnswerYes);
  driver->Click(Button("btnQuit"));
  ASSERT_EQ(driver->MessageBoxes().size(), 1u);
  EXPECT_EQ(LastMessage().style, 52);
  EXPECT_EQ(Stored(12345678, "Back Color"), 0x00FF20FFu);
  EXPECT_FALSE(Form().IsLoaded());
}
}  // namespace
}  // namespace tktest
