// Refusals injected in front of the registry of this build (the real one under Wine).
#include "store/memory/faulty_registry.h"

#include <gtest/gtest.h>

#include "support/registry_fixture.h"

namespace {

using store::kAccessDenied;
using store::Key;
using store::kNoKey;
using store::kSuccess;

constexpr char kOwner[] = "Software\\Mirabilis\\ICQ\\Owners\\1";
constexpr char kWindows[] = "Software\\Mirabilis\\ICQ\\Owners\\1\\Windows";
constexpr char kSendMsg[] = "Software\\Mirabilis\\ICQ\\Owners\\1\\Windows\\SendMsg";

class FaultInjectingRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fixture->SetDword(kSendMsg, "Pen Color", 0x111111);
    fixture->SetDword(kSendMsg, "Back Color", 0x222222);
    fixture->SetDword(kWindows, "Pen Color", 0x333333);
  }
  Key Open(Key parent, const char* name) {
    Key key = 0xBAD;
    const auto status = faulty.OpenKey(parent, name, key);
    EXPECT_EQ(status == kSuccess, key != kNoKey) << name;
    return key;
  }

  std::unique_ptr<tktest::RegistryFixture> fixture = tktest::MakeRegistryFixture();
  store::FaultInjectingRegistry faulty{fixture->Registry()};
};

TEST_F(FaultInjectingRegistryTest, RefusedOpenFailsWithoutAHandle) {
  faulty.RefuseOpen("sendmsg");
  const Key windows = Open(store::kCurrentUser, kWindows);
  ASSERT_NE(windows, kNoKey);
  Key sendMsg = 0xBAD;
  EXPECT_EQ(faulty.OpenKey(windows, "SendMsg", sendMsg), kAccessDenied);
  EXPECT_EQ(sendMsg, kNoKey);
  EXPECT_EQ(faulty.OpenKey(store::kCurrentUser, kSendMsg, sendMsg), kAccessDenied);
  EXPECT_EQ(faulty.Refusals(), 2);
  faulty.Close(windows);
}

TEST_F(FaultInjectingRegistryTest, RefusedWritesUnderAKeyLeaveTheStoredValues) {
  faulty.RefuseWritesUnder("SendMsg");
  const Key owner = Open(store::kCurrentUser, kOwner);
  const Key windows = Open(owner, "Windows");
  const Key sendMsg = Open(windows, "SendMsg");
  ASSERT_NE(sendMsg, kNoKey);

  EXPECT_EQ(faulty.SetDword(sendMsg, "Pen Color", 0xFF), kAccessDenied);
  EXPECT_EQ(faulty.SetDword(sendMsg, "Back Color", 0xFF), kAccessDenied);
  EXPECT_EQ(faulty.SetDword(windows, "Pen Color", 0xFF), kSuccess);
  std::uint32_t data = 0;
  EXPECT_EQ(faulty.QueryDword(sendMsg, "Pen Color", data), kSuccess);
  EXPECT_EQ(data, 0x111111u);

  faulty.Close(sendMsg);
  faulty.Close(windows);
  faulty.Close(owner);
  EXPECT_EQ(fixture->ReadDword(kSendMsg, "Pen Color"), 0x111111u);
  EXPECT_EQ(fixture->ReadDword(kSendMsg, "Back Color"), 0x222222u);
  EXPECT_EQ(fixture->ReadDword(kWindows, "Pen Color"), 0xFFu);
}

TEST_F(FaultInjectingRegistryTest, RefusedValueWriteHitsThatNameOnly) {
  faulty.RefuseWrite("back color");
  const Key sendMsg = Open(store::kCurrentUser, kSendMsg);
  ASSERT_NE(sendMsg, kNoKey);
  EXPECT_EQ(faulty.SetDword(sendMsg, "Pen Color", 0xABCDEF), kSuccess);
  EXPECT_EQ(faulty.SetDword(sendMsg, "Back Color", 0xABCDEF), kAccessDenied);
  EXPECT_EQ(faulty.RestoreRaw(sendMsg, "Back Color", {}), kAccessDenied) << "a restore is a write";
  EXPECT_EQ(faulty.OpenHandleCount(), 1u);
  faulty.Close(sendMsg);
  EXPECT_EQ(faulty.OpenHandleCount(), 0u);
  EXPECT_EQ(fixture->ReadDword(kSendMsg, "Pen Color"), 0xABCDEFu);
  EXPECT_EQ(fixture->ReadDword(kSendMsg, "Back Color"), 0x222222u);
}

}  // namespace
