// The colour table as the window shows it: channel fields, sample and the applied flag.

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

TEST_F(ChannelFields, ChoosingTheOtherColourOrBaseIsNeverAnEdit) {
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

}  // namespace
}  // namespace tktest
