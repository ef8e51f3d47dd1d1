// Save with no current file asks for a name first; a write that then fails is reported once. (The
// real Save dialog under Wine takes no folder in which nothing can be created.)

#include "app/main_window_harness.h"

namespace tktest {
namespace {

TEST_F(MainWindowTest, SaveThatAsksForANameReportsAFailedWriteOnce) {
  StartWithoutOwner();
  driver->ClearRecords();
  driver->AnswerNextFileDialog(files->LockedFolder() + u"\\colours.reg");
  driver->AnswerNextMessageBox(tk::kAnswerOk);
  driver->ChooseMenu(Menu("mnuSave"));
  ASSERT_EQ(driver->MessageBoxes().size(), 1u);
  EXPECT_EQ(LastMessage().title, u" - 保存エラー - Tintmark");
  EXPECT_EQ(driver->UnexpectedDialogs(), 0);
}

}  // namespace
}  // namespace tktest
