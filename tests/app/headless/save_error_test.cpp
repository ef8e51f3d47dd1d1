// The save target on roads the Wine run cannot take: the real Save dialog takes no folder in which
// nothing can be created, and an exception there ends the program.

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

// The read error's box failing as nothing foresaw: the file that did not read is still not the
// next Save's target.
TEST_F(MainWindowTest, AFileThatDidNotReadIsNotTheSaveTargetOnAnyRoadOut) {
  StartWithoutOwner();
  const std::u16string text = files->Folder(u"色の設定") + u"\note.reg";
  files->Put(text, "Buy milk.\r\n");
  const std::u16string offered = frm->CommonDialog1().FileName;
  driver->WhileNextBoxIsUp([] { throw std::runtime_error("box"); });
  EXPECT_THROW(driver->DropFile(Form(), text), std::runtime_error);
  EXPECT_EQ(State().strFileName, u"");
  EXPECT_EQ(frm->CommonDialog1().FileName, offered);
}

}  // namespace tktest
