// What only the in-memory registry offers the other tests: injected refusals and an account of
// every handle and call.
#include "store/memory/memory_registry.h"

#include <gtest/gtest.h>

namespace {

using store::Key;
using store::kNoKey;
using store::kSuccess;
using store::MemoryRegistry;

constexpr char kSendMsg[] = "Software\\Mirabilis\\ICQ\\Owners\\1\\Windows\\SendMsg";

TEST(MemoryRegistry, RefusedOpenFailsForThatKeyOnly) {
  MemoryRegistry registry;
  registry.CreateKey("Software\\Mirabilis\\ICQ");
  registry.RefuseOpen("software\\MIRABILIS");

  Key software = kNoKey, mirabilis = 0xBAD, other = kNoKey;
  ASSERT_EQ(registry.OpenKey(store::kCurrentUser, "Software", software), kSuccess);
  EXPECT_EQ(registry.OpenKey(software, "Mirabilis", mirabilis), store::kAccessDenied);
  EXPECT_EQ(mirabilis, kNoKey);
  EXPECT_EQ(registry.OpenKey(store::kCurrentUser, "Software\\Mirabilis", other),
            store::kAccessDenied);
  EXPECT_EQ(registry.OpenKey(store::kCurrentUser, "Software\\Mirabilis\\ICQ", other), kSuccess);
  EXPECT_EQ(registry.OpenHandleCount(), 2u);
}

TEST(MemoryRegistry, RefusedWriteChangesNothingUnderThatKeyOnly) {
  MemoryRegistry registry;
  registry.SetDword(kSendMsg, "Pen Color", 0x123456);
  registry.CreateKey("Software\\Mirabilis\\ICQ\\Owners\\1\\Windows");
  registry.RefuseWrite(kSendMsg);

  Key sendMsg = kNoKey, windows = kNoKey;
  ASSERT_EQ(registry.OpenKey(store::kCurrentUser, kSendMsg, sendMsg), kSuccess);
  EXPECT_EQ(registry.SetDword(sendMsg, "Pen Color", 0xFF), store::kAccessDenied);
  EXPECT_EQ(registry.SetDword(sendMsg, "Back Color", 0xFF), store::kAccessDenied);
  EXPECT_EQ(registry.ReadDword(kSendMsg, "Pen Color"), 0x123456u);
  EXPECT_EQ(registry.ValueType(kSendMsg, "Back Color"), store::kTypeNone);

  std::uint32_t data = 0;
  EXPECT_EQ(registry.QueryDword(sendMsg, "Pen Color", data), kSuccess) << "reading still works";
  EXPECT_EQ(data, 0x123456u);

  ASSERT_EQ(registry.OpenKey(store::kCurrentUser, "Software\\Mirabilis\\ICQ\\Owners\\1\\Windows",
                             windows),
            kSuccess);
  EXPECT_EQ(registry.SetDword(windows, "Pen Color", 0xFF), kSuccess);
}

TEST(MemoryRegistry, EveryHandleIsDistinctAndClosesExactlyOnce) {
  MemoryRegistry registry;
  registry.CreateKey("Software");
  Key first = kNoKey, second = kNoKey;
  registry.OpenKey(store::kCurrentUser, "Software", first);
  registry.OpenKey(store::kCurrentUser, "Software", second);
  EXPECT_NE(first, kNoKey);
  EXPECT_NE(second, kNoKey);
  EXPECT_NE(first, second);
  EXPECT_EQ(registry.OpenHandleCount(), 2u);

  EXPECT_EQ(registry.Close(first), kSuccess);
  EXPECT_EQ(registry.Close(first), store::kInvalidHandle);
  EXPECT_EQ(registry.OpenHandleCount(), 1u);
  std::uint32_t data = 7;
  EXPECT_EQ(registry.QueryDword(first, "x", data), store::kInvalidHandle) << "closed handle";
  EXPECT_EQ(registry.Close(0x4242), store::kInvalidHandle);
  EXPECT_EQ(registry.Close(second), kSuccess);
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(MemoryRegistry, CountsAndLogsEveryCallInOrder) {
  MemoryRegistry registry;
  registry.CreateKey("Software");
  Key key = kNoKey, missing = kNoKey;
  std::uint32_t data = 0;
  registry.OpenKey(store::kCurrentUser, "Software", key);
  registry.OpenKey(key, "Mirabilis", missing);
  registry.QueryDword(key, "LastOwner", data);
  registry.SetDword(key, "Pen Color", 1);
  registry.Flush(key);
  registry.Close(key);

  const auto& counts = registry.Counts();
  EXPECT_EQ(counts.opens, 2);
  EXPECT_EQ(counts.queries, 1);
  EXPECT_EQ(counts.writes, 1);
  EXPECT_EQ(counts.flushes, 1);
  EXPECT_EQ(counts.closes, 1);

  using Kind = MemoryRegistry::CallKind;
  const auto& log = registry.CallLog();
  ASSERT_EQ(log.size(), 6u);
  EXPECT_EQ(log[1].kind, Kind::kOpen);
  EXPECT_EQ(log[1].key, key);
  EXPECT_EQ(log[1].name, "Mirabilis");
  EXPECT_EQ(log[1].status, store::kFileNotFound);
  EXPECT_EQ(log[3].kind, Kind::kSet);
  EXPECT_EQ(log[3].name, "Pen Color");
  EXPECT_EQ(log[5].kind, Kind::kClose);

  registry.ClearCalls();
  EXPECT_EQ(registry.Counts().Total(), 0);
  EXPECT_TRUE(registry.CallLog().empty());
}

TEST(MemoryRegistry, HandleOfADeletedKeyFailsButStillCloses) {
  MemoryRegistry registry;
  registry.SetDword(kSendMsg, "Pen Color", 1);
  Key sendMsg = kNoKey;
  ASSERT_EQ(registry.OpenKey(store::kCurrentUser, kSendMsg, sendMsg), kSuccess);
  registry.Delete("Software\\Mirabilis\\ICQ\\Owners\\1");

  EXPECT_FALSE(registry.KeyExists(kSendMsg));
  EXPECT_TRUE(registry.KeyExists("Software\\Mirabilis\\ICQ\\Owners"));
  EXPECT_EQ(registry.SetDword(sendMsg, "Pen Color", 2), store::kKeyDeleted);
  EXPECT_FALSE(registry.KeyExists(kSendMsg)) << "a write does not bring the key back";
  EXPECT_EQ(registry.Close(sendMsg), kSuccess);
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

}  // namespace
