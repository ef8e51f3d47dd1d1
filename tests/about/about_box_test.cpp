// The About box over the main window: where it opens, what it shows, its beep, each way of
// closing it, and the main window meanwhile and afterwards.

#include "about/frm_about.h"
#include "app/main_window_harness.h"

namespace tktest {
namespace {

TEST(AboutVersion, TheMinorNumberHasAtLeastTwoDigits) {
  EXPECT_EQ(about::VersionCaption(1, 12, 10), u"Version 1.12.10");
  EXPECT_EQ(about::VersionCaption(10, 5, 3), u"Version 10.05.3");
}

class AboutBox : public MainWindowTest {};

// Each showing loads the box afresh, so one main window serves every case in turn.
TEST_F(AboutBox, OpensAtItsOffsetBeepsWhileHiddenAndEveryWayOfClosingReturnsToTheIdRequest) {
  const struct {
    const char* way;
    int left,
        top;  // of the main window, screen twips; 14400, 10800 is near a small screen's corner
    std::function<void(Driver&, tk::Form& box)> close;
  } cases[] = {
      {"OK", 1500, 1500, [](Driver& d, tk::Form& box) { d.Click(box.Find("cmdOK")); }},
      {"Enter", 14400, 10800, [](Driver& d, tk::Form&) { d.PressKey(kVkReturn); }},
      {"Esc", 0, 0, [](Driver& d, tk::Form&) { d.PressKey(kVkEscape); }},
      {"close box", 14400, 10800, [](Driver& d, tk::Form& box) { d.CloseBox(box); }},
  };
  StartWithoutOwner();
  bool byAccessKey = false;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.way);
    Form().Move(c.left, c.top);
    const int left = Form().Left(), top = Form().Top();
    driver->ClearRecords();
    bool upAtBeep = true;  // the box is up once it is the active form
    driver->WhenBeeping([&] { upAtBeep = driver->App().ActiveForm() != &Form(); });
    driver->AnswerNextMessageBox(tk::kAnswerOk);  // the ID request, once the box has closed
    driver->WhenNextModalShown([&](tk::Form& box) {
      EXPECT_EQ(box.Left(), left + 150);
      EXPECT_EQ(box.Top(), top + 900);
      EXPECT_EQ(driver->ShownText(box.Find("lblVersion")), u"Version 1.12.10");
      // Ctrl+A would ask for the ID, Ctrl+Q and 終了 would quit.
      for (const int key : {'A', 'Z', 'Q'}) driver->PressKey(key, tk::kCtrlBit);
      driver->Click(Button("btnQuit"));
      EXPECT_TRUE(Form().IsLoaded() && driver->MessageBoxes().empty());
      c.close(*driver, box);
    });
    byAccessKey = !byAccessKey;
    byAccessKey ? driver->PressKey('H', tk::kAltBit) : driver->ChooseMenu(Menu("mnuHelp"));
    EXPECT_EQ(driver->Beeps(), 1);
    EXPECT_FALSE(upAtBeep);
    EXPECT_EQ(driver->UnexpectedDialogs(), 0) << "the box opened, and closed the way asked";
    ASSERT_EQ(driver->MessageBoxes().size(), 1u);
    EXPECT_EQ(LastMessage().title, kIdRequestTitle);
    EXPECT_EQ(driver->ShownFocus(Form()), &Text("txtID"));
  }
}

}  // namespace
}  // namespace tktest
