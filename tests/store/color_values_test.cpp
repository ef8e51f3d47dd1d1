#include "store/color_values.h"

#include <gtest/gtest.h>

#include "store/memory/memory_registry.h"
#include "support/registry_fixture.h"

namespace {

using store::Key;
using store::kNoKey;
using store::kSuccess;
using store::MemoryRegistry;
using store::OwnerColorKeys;

constexpr char kOwner[] = "Software\\Mirabilis\\ICQ\\Owners\\12345678";
constexpr char kWindows[] = "Software\\Mirabilis\\ICQ\\Owners\\12345678\\Windows";
constexpr char kSendMsg[] = "Software\\Mirabilis\\ICQ\\Owners\\12345678\\Windows\\SendMsg";

Key OpenOwner(store::Registry& registry) {
  Key owner = kNoKey;
  EXPECT_EQ(registry.OpenKey(store::kCurrentUser, kOwner, owner), kSuccess);
  return owner;
}

// On the registry of this build.
class ColorValues : public ::testing::Test {
 protected:
  std::unique_ptr<tktest::RegistryFixture> fixture = tktest::MakeRegistryFixture();
  store::Registry& registry = fixture->Registry();
};

TEST_F(ColorValues, IndexZeroIsPenColorAndOneIsBackColor) {
  fixture->CreateKey(kSendMsg);
  OwnerColorKeys keys(registry, OpenOwner(registry));
  ASSERT_TRUE(keys.Complete());

  EXPECT_EQ(store::PutColorValue(registry, keys.SendMsg(), 0, 0x0000FF00), kSuccess);
  EXPECT_EQ(store::PutColorValue(registry, keys.SendMsg(), 1, 0x00FFFFFF), kSuccess);
  EXPECT_EQ(fixture->ValueType(kSendMsg, "Pen Color"), tktest::kRegDword);
  EXPECT_EQ(fixture->ReadDword(kSendMsg, "Pen Color"), 0x0000FF00u);
  EXPECT_EQ(fixture->ReadDword(kSendMsg, "Back Color"), 0x00FFFFFFu);

  EXPECT_EQ(store::GetColorValue(registry, keys.SendMsg(), 0).value, 0x0000FF00);
  EXPECT_EQ(store::GetColorValue(registry, keys.SendMsg(), 1).value, 0x00FFFFFF);
}

TEST_F(ColorValues, StoredValuesComeBackAsSignedBits) {
  fixture->SetDword(kSendMsg, "Pen Color", 0xFFFFFFFF);
  fixture->SetDword(kSendMsg, "Back Color", 0x12345678);
  OwnerColorKeys keys(registry, OpenOwner(registry));
  EXPECT_EQ(store::GetColorValue(registry, keys.SendMsg(), 0).value, -1);
  EXPECT_EQ(store::GetColorValue(registry, keys.SendMsg(), 1).value, 0x12345678);
}

TEST_F(ColorValues, MissingValueReadsAsZero) {
  fixture->SetDword(kSendMsg, "Pen Color", 0xFF);
  OwnerColorKeys keys(registry, OpenOwner(registry));
  EXPECT_EQ(store::GetColorValue(registry, keys.SendMsg(), 0).value, 0xFF);
  const auto back = store::GetColorValue(registry, keys.SendMsg(), 1);
  EXPECT_EQ(back.value, 0);
  EXPECT_NE(back.status, kSuccess);
}

TEST_F(ColorValues, MissingWindowsKeyIsReportedAndNothingIsCreatedOrWritten) {
  fixture->CreateKey(kOwner);
  OwnerColorKeys keys(registry, OpenOwner(registry));
  EXPECT_NE(keys.Owner(), kNoKey);
  EXPECT_NE(keys.WindowsStatus(), kSuccess);
  EXPECT_NE(keys.SendMsgStatus(), kSuccess);
  EXPECT_FALSE(keys.Complete());
  EXPECT_EQ(keys.SendMsg(), kNoKey);

  EXPECT_NE(store::PutColorValue(registry, keys.SendMsg(), 0, 0xFF), kSuccess);
  EXPECT_EQ(store::GetColorValue(registry, keys.SendMsg(), 0).value, 0);
  EXPECT_FALSE(fixture->KeyExists(kWindows));
  EXPECT_EQ(fixture->ValueType(kOwner, "Pen Color"), tktest::kRegNone);
}

TEST_F(ColorValues, MissingSendMsgKeyIsReportedOnItsOwn) {
  fixture->CreateKey(kWindows);
  OwnerColorKeys keys(registry, OpenOwner(registry));
  EXPECT_EQ(keys.WindowsStatus(), kSuccess);
  EXPECT_NE(keys.Windows(), kNoKey);
  EXPECT_NE(keys.SendMsgStatus(), kSuccess);
  EXPECT_FALSE(keys.Complete());
  EXPECT_FALSE(fixture->KeyExists(kSendMsg));
}

TEST(ColorValueIndex, OtherIndexIsRefusedWithoutTouchingTheRegistry) {
  MemoryRegistry registry;
  registry.SetDword(kSendMsg, "Pen Color", 0xFF);
  Key sendMsg = kNoKey;
  registry.OpenKey(store::kCurrentUser, kSendMsg, sendMsg);
  registry.ClearCalls();

  for (int index : {-1, 2, 65536}) {
    const auto read = store::GetColorValue(registry, sendMsg, index);
    EXPECT_EQ(read.status, store::kInvalidParameter);
    EXPECT_EQ(read.value, 0);
    EXPECT_EQ(store::PutColorValue(registry, sendMsg, index, 0x00FFFFFF), store::kInvalidParameter);
  }
  EXPECT_EQ(registry.Counts().Total(), 0);
  EXPECT_EQ(registry.ReadDword(kSendMsg, "Pen Color"), 0xFFu);
  registry.Close(sendMsg);
}

TEST(OwnerColorKeys, ClosesSendMsgWindowsOwnerInThatOrderOnce) {
  MemoryRegistry registry;
  registry.CreateKey(kSendMsg);
  Key opened[3];
  {
    OwnerColorKeys keys(registry, OpenOwner(registry));
    opened[0] = keys.Owner();
    opened[1] = keys.Windows();
    opened[2] = keys.SendMsg();
    EXPECT_EQ(registry.OpenHandleCount(), 3u);
    registry.ClearCalls();
    keys.Close();
    keys.Close();
    EXPECT_EQ(keys.SendMsg(), kNoKey);
  }
  const auto& log = registry.CallLog();
  ASSERT_EQ(log.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(log[i].kind, MemoryRegistry::CallKind::kClose);
    EXPECT_EQ(log[i].key, opened[2 - i]);
    EXPECT_EQ(log[i].status, kSuccess);
  }
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(OwnerColorKeys, RefusedSendMsgStillClosesEverythingThatOpened) {
  MemoryRegistry registry;
  registry.CreateKey(kSendMsg);
  registry.RefuseOpen(kSendMsg);
  {
    OwnerColorKeys keys(registry, OpenOwner(registry));
    EXPECT_EQ(keys.WindowsStatus(), kSuccess);
    EXPECT_EQ(keys.SendMsgStatus(), store::kAccessDenied);
    EXPECT_EQ(registry.OpenHandleCount(), 2u);
  }
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

}  // namespace
