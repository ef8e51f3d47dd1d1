// Where the system makes no window, on the road the sanitizers watch (the Win32 suite refuses
// each of the windows in turn).

#include "app/main_window_harness.h"
#include "support/headless/driver_headless.h"

namespace tktest {

TEST_F(MainWindowTest, WithoutItsWindowsTheProgramSaysSoAndEndsOrKeepsTheMainWindow) {
  AddOwner(12345678, 0x0000FF, 0x00FFFF);
  registry->SetDword(kOwners, "LastOwner", 0);
  auto& system = static_cast<HeadlessDriver&>(*driver).Backend();
  system.formsToRefuse = 1;
  driver->AnswerNextMessageBox(tk::kAnswerOk);
  frm = std::make_unique<app::FrmMain>(driver->App(), registry->Registry(), files->Access(),
                                       app::JapaneseTexts(), about::ShowAbout);
  frm->Run();
  ASSERT_EQ(driver->MessageBoxes().size(), 1u);
  EXPECT_EQ(LastMessage().title, u" - 起動エラー - Tintmark");
  EXPECT_FALSE(Form().IsLoaded());
  EXPECT_EQ(registry->ReadDword(kOwners, "LastOwner"), 0u) << "nothing asked, nothing written";

  registry->SetDword(kOwners, "LastOwner", 12345678);
  Start();
  system.formsToRefuse = 1;
  driver->AnswerNextMessageBox(tk::kAnswerOk);
  driver->ChooseMenu(Menu("mnuHelp"));
  EXPECT_EQ(LastMessage().title, u" - 表示エラー - Tintmark");
  EXPECT_TRUE(Form().IsLoaded());
  EXPECT_TRUE(driver->ShownEnabled(Button("btnAccept")));
  EXPECT_EQ(driver->UnexpectedDialogs(), 0);
}

}  // namespace tktest
