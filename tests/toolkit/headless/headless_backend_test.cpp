// What only the headless backend offers: an open menu to look at, and the handling of a modal form
// that a test forgot to script.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/headless/driver_headless.h"
#include "toolkit/form.h"

namespace {

using tk::CommandButton;
using tk::ControlKind;

tk::FormSpec OneButtonSpec(std::string_view name) {
  tk::FormSpec spec;
  spec.name = name;
  spec.caption = u"Tintmark";
  tk::ControlSpec button;
  button.kind = ControlKind::kCommandButton;
  button.name = "btnGo";
  button.caption = u"Go";
  button.tabIndex = 0;
  spec.controls.push_back(button);
  spec.menus.push_back({"mnuFile", u"ﾌｧｲﾙ(&F)", "", 0});
  spec.menus.push_back({"mnuOpen", u"開く(&O)", "mnuFile", u'O'});
  spec.menus.push_back({"mnuNull0", u"-", "mnuFile", 0});
  spec.menus.push_back({"mnuQuit", u"終了(&Q)", "mnuFile", u'Q'});
  return spec;
}

class HeadlessBackendTest : public ::testing::Test {
 protected:
  std::vector<std::string> log;
  tktest::HeadlessDriver driver;
  tk::FormSpec mainSpec = OneButtonSpec("frmMain");
  tk::FormSpec modalSpec = OneButtonSpec("frmModal");
  tk::Form main{driver.App(), mainSpec};
  tk::Form modal{driver.App(), modalSpec};
};

TEST_F(HeadlessBackendTest, AltFOpensTheFileMenuWhereALetterChoosesAnItem) {
  for (const char* name : {"mnuOpen", "mnuQuit"}) {
    main.Menu(name).Click = [this, name] { log.push_back(name); };
  }
  driver.Show(main);

  driver.PressKey('F', tk::kAltBit);
  EXPECT_EQ(driver.OpenedMenu(), &main.Menu("mnuFile"));
  driver.PressKey(tktest::kVkEscape);
  EXPECT_EQ(driver.OpenedMenu(), nullptr);
  EXPECT_TRUE(log.empty());

  driver.PressKey('F', tk::kAltBit);
  driver.Type(u"q");
  EXPECT_EQ(log, std::vector<std::string>{"mnuQuit"});
  EXPECT_EQ(driver.OpenedMenu(), nullptr);
}

TEST_F(HeadlessBackendTest, OwnerIgnoresInputWhileAModalFormIsUp) {
  main.Get<CommandButton>("btnGo").Click = [this] {
    log.push_back("main click");
    modal.ShowModal();
  };
  modal.Get<CommandButton>("btnGo").Click = [this] { modal.Unload(); };
  driver.Show(main);

  driver.WhenNextModalShown([this](tk::Form& shown) {
    driver.Click(main.Get<CommandButton>("btnGo"));
    driver.CloseBox(main);
    driver.PressKey('O', tk::kCtrlBit);
    EXPECT_TRUE(main.IsLoaded());
    driver.Click(shown.Get<CommandButton>("btnGo"));
  });
  driver.Click(main.Get<CommandButton>("btnGo"));
  EXPECT_EQ(log, std::vector<std::string>{"main click"});
  EXPECT_TRUE(modal.IsUnloaded());

  driver.Click(main.Get<CommandButton>("btnGo"));
  EXPECT_EQ(log.size(), 2u) << "the owner takes input again once the modal form has gone";
}

TEST_F(HeadlessBackendTest, UnscriptedModalFormIsClosedAndCounted) {
  std::vector<int> modes;
  modal.QueryUnload = [&](std::int16_t&, std::int16_t mode) { modes.push_back(mode); };
  driver.Show(main);

  modal.ShowModal();
  EXPECT_TRUE(modal.IsUnloaded());
  EXPECT_EQ(modes, std::vector<int>{tk::kUnloadByCloseBox});
  EXPECT_EQ(driver.UnexpectedDialogs(), 1);
  EXPECT_EQ(driver.App().ActiveForm(), &main);
}

}  // namespace
