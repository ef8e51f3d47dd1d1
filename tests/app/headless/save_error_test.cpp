// Save with no current file asks for a name, then writes once: a failure is reported once. Native
// only: under Wine the real Save dialog takes no folder in which nothing can be created.

#include "app/main_window_harness.h"

namespace tktest {

TEST_F(MainWindowTest, SaveThatAsksForANameReportsAFailedWriteOnce) {
  StartWithoutOwner();
  driver->AnswerNextFileDialog(files->LockedFolder() + u"\\colours.reg");
  driver->AnswerNextMessageBox(tk::kAnswerOk);
  driver->ChooseMenu(Menu("mnuSave"));
  EXPECT_EQ(driver->MessageBoxes().size(), 2u) << "the ID request, then one save error";
  EXPECT_EQ(LastMessage().title, u" - 保存エラー - Tintmark");
}

}  // namespace tktest
