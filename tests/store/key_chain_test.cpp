#include "store/key_chain.h"

#include <gtest/gtest.h>

#include "store/memory/memory_registry.h"
#include "store/owner_id.h"
#include "support/registry_fixture.h"

namespace {

using store::Key;
using store::KeyChain;
using store::kNoKey;
using store::kSuccess;
using store::MemoryRegistry;
using Kind = MemoryRegistry::CallKind;

constexpr char kOwners[] = "Software\\Mirabilis\\ICQ\\Owners";

TEST(KeyChain, OpensEachKeyBelowThePreviousOne) {
  MemoryRegistry registry;
  registry.CreateKey(kOwners);
  KeyChain chain;
  EXPECT_EQ(chain.Open(registry), kSuccess);

  EXPECT_EQ(chain.At(0), store::kCurrentUser);
  const auto& log = registry.CallLog();
  ASSERT_EQ(log.size(), 4u);
  const char* names[] = {"Software", "Mirabilis", "ICQ", "Owners"};
  for (int i = 1; i <= 4; ++i) {
    EXPECT_NE(chain.At(i), kNoKey);
    EXPECT_EQ(log[i - 1].kind, Kind::kOpen);
    EXPECT_EQ(log[i - 1].key, chain.At(i - 1));
    EXPECT_EQ(log[i - 1].name, names[i - 1]);
  }
  EXPECT_EQ(chain.Owners(), chain.At(4));
  EXPECT_EQ(chain.At(-1), kNoKey);
  EXPECT_EQ(chain.At(5), kNoKey);
}

TEST(KeyChain, FirstFailureEndsTheChainAndIsReported) {
  MemoryRegistry registry;
  registry.CreateKey(kOwners);
  registry.RefuseOpen("Software\\Mirabilis");
  KeyChain chain;
  EXPECT_EQ(chain.Open(registry), store::kAccessDenied);
  EXPECT_NE(chain.At(1), kNoKey);
  EXPECT_EQ(chain.At(2), kNoKey);
  EXPECT_EQ(chain.At(3), kNoKey);
  EXPECT_EQ(chain.Owners(), kNoKey);
  EXPECT_EQ(registry.Counts().opens, 2) << "ICQ and Owners are not attempted";
}

TEST(KeyChain, MissingKeyIsNotCreated) {
  MemoryRegistry registry;
  registry.CreateKey("Software\\Mirabilis");
  KeyChain chain;
  EXPECT_EQ(chain.Open(registry), store::kFileNotFound);
  EXPECT_NE(chain.At(2), kNoKey);
  EXPECT_EQ(chain.At(3), kNoKey);
  EXPECT_FALSE(registry.KeyExists("Software\\Mirabilis\\ICQ"));
  EXPECT_EQ(registry.Counts().opens, 3);
}

TEST(KeyChain, ClosesOwnersFirstAndOnlyOnce) {
  MemoryRegistry registry;
  registry.CreateKey(kOwners);
  KeyChain chain;
  chain.Open(registry);
  const Key opened[] = {chain.At(1), chain.At(2), chain.At(3), chain.At(4)};
  registry.ClearCalls();

  chain.Close();
  const auto& log = registry.CallLog();
  ASSERT_EQ(log.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(log[i].kind, Kind::kClose);
    EXPECT_EQ(log[i].key, opened[3 - i]);
    EXPECT_EQ(log[i].status, kSuccess);
  }
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
  EXPECT_EQ(chain.Owners(), kNoKey);

  chain.Close();
  EXPECT_EQ(registry.Counts().Total(), 4);
}

TEST(KeyChain, IncompleteChainClosesWhatOpenedWhenItGoesAway) {
  MemoryRegistry registry;
  registry.CreateKey("Software\\Mirabilis");
  {
    KeyChain chain;
    chain.Open(registry);
    EXPECT_EQ(registry.OpenHandleCount(), 2u);
  }
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
  EXPECT_EQ(registry.Counts().closes, 4) << "the slots left at 0 are closed harmlessly too";
}

TEST(KeyChain, NeverOpenedChainClosesNothing) {
  MemoryRegistry registry;
  { KeyChain chain; }
  EXPECT_EQ(registry.Counts().Total(), 0);
}

// Start-up on the registry of this build: chain, then "LastOwner" into the ID text.
class LastOwnerAtStartUp : public ::testing::Test {
 protected:
  std::string StartUpId() {
    KeyChain chain;
    const auto status = chain.Open(fixture->Registry());
    return store::ReadLastOwner(fixture->Registry(), chain.Owners(), status);
  }
  std::unique_ptr<tktest::RegistryFixture> fixture = tktest::MakeRegistryFixture();
};

TEST_F(LastOwnerAtStartUp, EightDigitOwnerShowsItsDigits) {
  fixture->SetDword(kOwners, "LastOwner", 12345678);
  EXPECT_EQ(StartUpId(), "12345678");
}

TEST_F(LastOwnerAtStartUp, TopBitSetShowsAMinusSign) {
  fixture->SetDword(kOwners, "LastOwner", 0xFFFFFFFF);
  EXPECT_EQ(StartUpId(), "-1");
  fixture->SetDword(kOwners, "LastOwner", 0x80000000);
  EXPECT_EQ(StartUpId(), "-2147483648");
}

TEST_F(LastOwnerAtStartUp, MissingZeroOrUnreadableOwnerLeavesTheIdEmpty) {
  fixture->CreateKey(kOwners);
  EXPECT_EQ(StartUpId(), "");
  fixture->SetDword(kOwners, "LastOwner", 0);
  EXPECT_EQ(StartUpId(), "");
  fixture->SetString(kOwners, "LastOwner", "12345678");
  EXPECT_EQ(StartUpId(), "");
  fixture->SetBinary(kOwners, "LastOwner", {1, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_EQ(StartUpId(), "");
}

TEST_F(LastOwnerAtStartUp, IncompleteChainLeavesTheIdEmpty) {
  fixture->SetDword("Software\\Mirabilis\\ICQ", "LastOwner", 12345678);
  EXPECT_EQ(StartUpId(), "");
}

TEST(ReadLastOwner, FailedChainReadsNothing) {
  MemoryRegistry registry;
  registry.SetDword(kOwners, "LastOwner", 12345678);
  Key owners = kNoKey;
  registry.OpenKey(store::kCurrentUser, kOwners, owners);
  registry.ClearCalls();
  EXPECT_EQ(store::ReadLastOwner(registry, owners, store::kFileNotFound), "");
  EXPECT_EQ(registry.Counts().Total(), 0);
  EXPECT_EQ(store::ReadLastOwner(registry, owners, kSuccess), "12345678");
  registry.Close(owners);
}

}  // namespace
