// What the program relies on from the registry, held against the in-memory registry natively and
// against the real registry of the Wine prefix in the Windows build.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "store/registry.h"
#include "support/registry_fixture.h"

namespace {

using store::Key;
using store::kNoKey;
using store::kSuccess;
using store::Status;

constexpr char kMirabilis[] = "Software\\Mirabilis";
constexpr char kIcq[] = "Software\\Mirabilis\\ICQ";
constexpr char kOwners[] = "Software\\Mirabilis\\ICQ\\Owners";
constexpr char kSendMsg[] = "Software\\Mirabilis\\ICQ\\Owners\\12345678\\Windows\\SendMsg";
constexpr Key kStale = 0xDEAD0;  // preset of a result handle, to see that a failed open clears it

class RegistryContract : public ::testing::Test {
 protected:
  // Opens `names` one below the other from HKEY_CURRENT_USER; every step must succeed.
  std::vector<Key> OpenSteps(std::initializer_list<const char*> names) {
    std::vector<Key> keys;
    Key parent = store::kCurrentUser;
    for (const char* name : names) {
      Key opened = kStale;
      EXPECT_EQ(registry.OpenKey(parent, name, opened), kSuccess) << name;
      EXPECT_NE(opened, kNoKey) << name;
      keys.push_back(opened);
      parent = opened;
    }
    return keys;
  }
  void CloseAll(const std::vector<Key>& keys) {
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) EXPECT_EQ(registry.Close(*it), kSuccess);
  }

  std::unique_ptr<tktest::RegistryFixture> fixture = tktest::MakeRegistryFixture();
  store::Registry& registry = fixture->Registry();
};

TEST_F(RegistryContract, ChainOpensStepByStepDownToOwners) {
  fixture->CreateKey(kOwners);
  const auto keys = OpenSteps({"Software", "Mirabilis", "ICQ", "Owners"});
  ASSERT_EQ(keys.size(), 4u);
  for (std::size_t i = 0; i < keys.size(); ++i) {
    for (std::size_t j = i + 1; j < keys.size(); ++j) EXPECT_NE(keys[i], keys[j]);
  }
  CloseAll(keys);
}

TEST_F(RegistryContract, KeyNamesMatchWhateverTheirCase) {
  fixture->CreateKey(kIcq);
  const auto keys = OpenSteps({"SOFTWARE", "mirabilis", "icq"});
  CloseAll(keys);
}

TEST_F(RegistryContract, OpeningAMissingKeyFailsAndCreatesNothing) {
  fixture->CreateKey(kIcq);
  const auto keys = OpenSteps({"Software", "Mirabilis", "ICQ"});
  ASSERT_EQ(keys.size(), 3u);

  Key owners = kStale;
  EXPECT_NE(registry.OpenKey(keys[2], "Owners", owners), kSuccess);
  EXPECT_EQ(owners, kNoKey);
  EXPECT_FALSE(fixture->KeyExists(kOwners));

  Key deeper = kStale;
  EXPECT_NE(registry.OpenKey(keys[2], "Owners\\12345678", deeper), kSuccess);
  EXPECT_EQ(deeper, kNoKey);
  EXPECT_FALSE(fixture->KeyExists(kOwners));
  CloseAll(keys);
}

TEST_F(RegistryContract, OpeningBelowNoKeyFails) {
  fixture->CreateKey(kMirabilis);
  Key key = kStale;
  EXPECT_NE(registry.OpenKey(kNoKey, "Software", key), kSuccess);
  EXPECT_EQ(key, kNoKey);
}

TEST_F(RegistryContract, QueryReadsUpToFourBytesAsTheyStandAndZeroForALongerValue) {
  fixture->SetDword(kSendMsg, "Pen Color", 0x000000FF);
  fixture->SetDword(kSendMsg, "Top Bit", 0xFFFFFFFF);
  fixture->SetBinary(kSendMsg, "Four Bytes", {0x78, 0x56, 0x34, 0x12});
  fixture->SetBinary(kSendMsg, "Eight Bytes", {1, 2, 3, 4, 5, 6, 7, 8});
  fixture->SetBinary(kSendMsg, "One Byte", {0x05});
  fixture->SetBinary(kSendMsg, "Two Bytes", {0x11, 0x22});
  fixture->SetBinary(kSendMsg, "Three Bytes", {0x56, 0x34, 0x12});
  fixture->SetString(kSendMsg, "Text", "16711680 is blue");
  const auto keys =
      OpenSteps({"Software", "Mirabilis", "ICQ", "Owners", "12345678", "Windows", "SendMsg"});
  ASSERT_EQ(keys.size(), 7u);
  const Key sendMsg = keys.back();

  const auto query = [&](const char* name) {
    std::uint32_t data = 0xCCCCCCCC;
    registry.QueryDword(sendMsg, name, data);
    return data;
  };
  EXPECT_EQ(query("Pen Color"), 0x000000FFu);
  EXPECT_EQ(query("PEN COLOR"), 0x000000FFu);
  EXPECT_EQ(query("Top Bit"), 0xFFFFFFFFu);
  EXPECT_EQ(query("Four Bytes"), 0x12345678u) << "the type is not examined";
  EXPECT_EQ(query("Eight Bytes"), 0u);
  EXPECT_EQ(query("One Byte"), 0x05u) << "the other bytes 0, not the caller's preset";
  EXPECT_EQ(query("Two Bytes"), 0x2211u);
  EXPECT_EQ(query("Three Bytes"), 0x123456u);
  EXPECT_EQ(query("Text"), 0u);
  CloseAll(keys);
}

TEST_F(RegistryContract, QueryOfAMissingValueOrThroughNoKeyLeavesThePreset) {
  fixture->SetDword(kOwners, "LastOwner", 12345678);
  const auto keys = OpenSteps({"Software", "Mirabilis", "ICQ", "Owners"});
  ASSERT_EQ(keys.size(), 4u);

  std::uint32_t data = 0x5A5A5A5A;
  EXPECT_NE(registry.QueryDword(keys[3], "Back Color", data), kSuccess);
  EXPECT_EQ(data, 0x5A5A5A5Au);

  EXPECT_NE(registry.QueryDword(kNoKey, "LastOwner", data), kSuccess);
  EXPECT_EQ(data, 0x5A5A5A5Au);

  EXPECT_EQ(registry.QueryDword(keys[3], "LastOwner", data), kSuccess);
  EXPECT_EQ(data, 12345678u);
  CloseAll(keys);
}

TEST_F(RegistryContract, SetStoresExactlyTheFourBytesAsDword) {
  fixture->CreateKey(kSendMsg);
  fixture->SetString(kSendMsg, "Back Color", "white");
  const auto keys =
      OpenSteps({"Software", "Mirabilis", "ICQ", "Owners", "12345678", "Windows", "SendMsg"});
  ASSERT_EQ(keys.size(), 7u);
  const Key sendMsg = keys.back();

  EXPECT_EQ(registry.SetDword(sendMsg, "Pen Color", 0x0000FF00), kSuccess);
  EXPECT_EQ(registry.SetDword(sendMsg, "Back Color", 0xFFFFFFFF), kSuccess);
  EXPECT_EQ(registry.Flush(sendMsg), kSuccess);

  EXPECT_EQ(fixture->ValueType(kSendMsg, "Pen Color"), tktest::kRegDword);
  EXPECT_EQ(fixture->ReadDword(kSendMsg, "Pen Color"), 0x0000FF00u);
  EXPECT_EQ(fixture->ValueType(kSendMsg, "Back Color"), tktest::kRegDword) << "replaces the text";
  EXPECT_EQ(fixture->ReadDword(kSendMsg, "Back Color"), 0xFFFFFFFFu);
  CloseAll(keys);
}

TEST_F(RegistryContract, ValueWrittenIsReadBackAfterCloseAndReopen) {
  fixture->CreateKey(kSendMsg);
  auto keys =
      OpenSteps({"Software", "Mirabilis", "ICQ", "Owners", "12345678", "Windows", "SendMsg"});
  ASSERT_EQ(keys.size(), 7u);
  registry.SetDword(keys.back(), "Back Color", 0x00FFFFFF);
  registry.Flush(keys.back());
  CloseAll(keys);

  keys = OpenSteps({"Software", "Mirabilis", "ICQ", "Owners", "12345678", "Windows", "SendMsg"});
  ASSERT_EQ(keys.size(), 7u);
  std::uint32_t data = 0;
  EXPECT_EQ(registry.QueryDword(keys.back(), "back color", data), kSuccess);
  EXPECT_EQ(data, 0x00FFFFFFu);
  CloseAll(keys);
}

TEST_F(RegistryContract, NoKeyAndCurrentUserAreHarmlessEverywhere) {
  fixture->SetDword(kOwners, "LastOwner", 42);
  const auto keys = OpenSteps({"Software", "Mirabilis", "ICQ", "Owners"});
  ASSERT_EQ(keys.size(), 4u);

  EXPECT_NE(registry.SetDword(kNoKey, "LastOwner", 7), kSuccess);
  EXPECT_NE(registry.Flush(kNoKey), kSuccess);
  EXPECT_NE(registry.Close(kNoKey), kSuccess);
  registry.Close(store::kCurrentUser);

  EXPECT_EQ(fixture->ReadDword(kOwners, "LastOwner"), 42u);
  EXPECT_EQ(fixture->ValueType("", "LastOwner"), tktest::kRegNone);
  // HKEY_CURRENT_USER and the open handles still work.
  std::uint32_t data = 0;
  EXPECT_EQ(registry.QueryDword(keys[3], "LastOwner", data), kSuccess);
  EXPECT_EQ(data, 42u);
  const auto again = OpenSteps({"Software"});
  CloseAll(again);
  CloseAll(keys);
}

TEST_F(RegistryContract, ARawValueReadWholeIsPutBackExactlyOrDeletedAgain) {
  fixture->SetString(kSendMsg, "Text", "white");
  fixture->SetBinary(kSendMsg, "Three", {1, 2, 3});
  fixture->SetValue(kSendMsg, "Wide", tktest::kRegQword, std::vector<std::uint8_t>(8, 0xAB));
  fixture->SetBinary(kSendMsg, "Large", std::vector<std::uint8_t>(65536, 0x5A));
  // "色", which no Western code page holds.
  fixture->SetValue(kSendMsg, "Japanese", tktest::kRegSz, {0x72, 0x82, 0, 0});
  const auto keys =
      OpenSteps({"Software", "Mirabilis", "ICQ", "Owners", "12345678", "Windows", "SendMsg"});
  ASSERT_EQ(keys.size(), 7u);
  for (const char* name : {"Text", "Three", "Wide", "Large", "Japanese", "Missing"}) {
    const auto type = fixture->ValueType(kSendMsg, name);
    const auto bytes = fixture->ReadBytes(kSendMsg, name);
    store::RawValue raw;
    EXPECT_EQ(registry.QueryRaw(keys.back(), name, raw), bytes ? kSuccess : store::kFileNotFound);
    EXPECT_EQ(raw.present, bytes.has_value()) << name;
    ASSERT_EQ(registry.SetDword(keys.back(), name, 7), kSuccess);
    EXPECT_EQ(registry.RestoreRaw(keys.back(), name, raw), kSuccess) << name;
    EXPECT_EQ(fixture->ValueType(kSendMsg, name), type) << name;
    EXPECT_EQ(fixture->ReadBytes(kSendMsg, name), bytes) << name;
    EXPECT_EQ(registry.RestoreRaw(keys.back(), name, raw), kSuccess) << "again: " << name;
  }
  store::RawValue raw;
  ASSERT_EQ(registry.QueryRaw(keys.back(), "Text", raw), kSuccess);
  EXPECT_NE(registry.QueryRaw(kNoKey, "Text", raw), kSuccess);
  EXPECT_FALSE(raw.present) << "what was read before is not taken for this value";
  EXPECT_NE(registry.RestoreRaw(kNoKey, "Text", raw), kSuccess);
  CloseAll(keys);
}

}  // namespace
