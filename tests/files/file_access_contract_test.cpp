// What the program relies on from file access, held against files in memory natively and against
// real files of the Wine prefix in the Windows build.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "files/file_access.h"
#include "support/file_fixture.h"

namespace {

using files::kSuccess;
using Names = std::vector<std::u16string>;

constexpr std::size_t kLimit = 64;

class FileAccessContract : public ::testing::Test {
 protected:
  // No road may leave a file open.
  void TearDown() override { EXPECT_EQ(fixture->OpenFiles(), 0); }

  std::string Read(const std::u16string& path, files::Status expected = kSuccess) {
    std::string bytes = "stale";
    EXPECT_EQ(access.ReadWhole(path, kLimit, bytes), expected);
    EXPECT_TRUE(expected == kSuccess || bytes.empty()) << "a failed read leaves no bytes";
    return bytes;
  }

  std::unique_ptr<tktest::FileFixture> fixture = tktest::MakeFileFixture();
  files::FileAccess& access = fixture->Access();
};

TEST_F(FileAccessContract, ReplaceWritesExactlyTheBytesUnderAnyNameAndLeavesNothingElse) {
  for (const std::u16string name : {u"colours", u"色の設定"}) {
    const std::u16string folder = fixture->Folder(name);
    const std::u16string path = folder + u"\\赤と白.reg";
    const std::string bytes("REGEDIT4\r\n\0\xFF\n", 14);
    EXPECT_EQ(access.ReplaceWhole(path, bytes), kSuccess);
    EXPECT_EQ(fixture->Get(path), bytes);
    EXPECT_EQ(Read(path), bytes);
    EXPECT_EQ(access.ReplaceWhole(path, "short"), kSuccess) << "over a longer file";
    EXPECT_EQ(fixture->Get(path), "short");
    fixture->SetAttributes(path, files::kHidden | files::kSystem);
    EXPECT_EQ(access.ReplaceWhole(path, "hidden"), kSuccess);
    EXPECT_EQ(fixture->Attributes(path) & (files::kHidden | files::kSystem),
              files::kHidden | files::kSystem)
        << "the attributes stay";
    EXPECT_EQ(fixture->Names(folder), Names{u"赤と白.reg"});
  }
  if (const auto deep = fixture->DeepFolder()) {
    const std::u16string path = *deep + u"\\colours.reg";
    fixture->Put(path, "old");
    EXPECT_EQ(access.ReplaceWhole(path, "new"), kSuccess) << "a full path over MAX_PATH";
    EXPECT_EQ(fixture->Get(path), "new");
    EXPECT_EQ(fixture->Names(*deep), Names{u"colours.reg"});
  }
}

TEST_F(FileAccessContract, ReadTakesAFileUpToTheLimitAndNothingElse) {
  const std::u16string folder = fixture->Folder(u"sizes");
  fixture->Put(folder + u"\\full.reg", std::string(kLimit, 'a'));
  fixture->Put(folder + u"\\over.reg", std::string(kLimit + 1, 'b'));
  fixture->Put(folder + u"\\empty.reg", "");
  EXPECT_EQ(Read(folder + u"\\FULL.REG"), std::string(kLimit, 'a')) << "names ignore case";
  EXPECT_EQ(Read(folder + u"\\empty.reg"), "");
  // A name outside the ANSI code page is one the Windows 98 road cannot spell.
  std::string bytes;
  const files::Status unspelt = access.ReadWhole(folder + u"\\없는 색.reg", kLimit, bytes);
  EXPECT_TRUE(unspelt == files::kFileNotFound || unspelt == 123 /* ERROR_INVALID_NAME */)
      << unspelt;
  Read(folder + u"\\over.reg", files::kFileTooLarge);
  const std::u16string growing = fixture->GrowingFile();
  EXPECT_EQ(Read(growing), fixture->Get(growing)) << "read whole, within the limit";
  // Grown to exactly the limit, it is read whole; a byte past it, it is too large.
  for (const std::size_t limit : {4, 3}) {
    std::string bytes;
    EXPECT_EQ(access.ReadWhole(fixture->FileGrowingByAByte(), limit, bytes),
              limit == 4 ? kSuccess : files::kFileTooLarge);
    EXPECT_EQ(bytes, limit == 4 ? "grew" : "");
  }
  Read(folder + u"\\missing.reg", files::kFileNotFound);
  Read(folder + u"\\missing\\colours.reg", files::kPathNotFound);
  Read(folder, files::kIsAFolder);
  fixture->HoldOpen(folder + u"\\full.reg");
  Read(folder + u"\\full.reg", files::kSharingViolation);
  bytes = "stale";
  EXPECT_NE(access.ReadWhole(fixture->UnreadableFile(), kLimit, bytes), kSuccess);
  EXPECT_EQ(bytes, "");
}

TEST_F(FileAccessContract, AFailedReplaceLeavesTheFolderAsItWas) {
  const std::u16string locked = fixture->LockedFolder();
  EXPECT_NE(access.ReplaceWhole(locked + u"\\colours.reg", "REGEDIT4\r\n"), kSuccess);
  EXPECT_EQ(fixture->Get(locked + u"\\colours.reg"), std::nullopt);

  const std::u16string folder = fixture->Folder(u"target is a folder");
  const std::u16string target = fixture->Folder(u"target is a folder\\colours.reg");
  fixture->Put(target + u"\\inside.txt", "kept");
  EXPECT_EQ(access.ReplaceWhole(target, "REGEDIT4\r\n"), files::kAccessDenied)
      << "the move is refused";
  EXPECT_EQ(fixture->Names(folder), Names{}) << "no new file is left behind";
  EXPECT_EQ(fixture->Get(target + u"\\inside.txt"), "kept");

  EXPECT_NE(access.ReplaceWhole(folder + u"\\missing\\colours.reg", "x"), kSuccess);

  const std::u16string readOnly = fixture->Folder(u"read-only");
  fixture->Put(readOnly + u"\\colours.reg", "old");
  fixture->SetAttributes(readOnly + u"\\colours.reg", files::kReadOnly);
  EXPECT_EQ(access.ReplaceWhole(readOnly + u"\\colours.reg", "new"), files::kAccessDenied);
  EXPECT_EQ(fixture->Get(readOnly + u"\\colours.reg"), "old");
  EXPECT_EQ(fixture->Names(readOnly), Names{u"colours.reg"});

  for (const bool existing : {false, true}) {
    const std::u16string full = fixture->Folder(existing ? u"disk full, old file" : u"disk full");
    if (existing) fixture->Put(full + u"\\colours.reg", "old");
    fixture->FailNextWriteAfter(4);
    EXPECT_NE(access.ReplaceWhole(full + u"\\colours.reg", "REGEDIT4\r\n"), kSuccess);
    EXPECT_EQ(fixture->Get(full + u"\\colours.reg"),
              existing ? std::optional<std::string>("old") : std::nullopt);
    EXPECT_EQ(fixture->Names(full), existing ? Names{u"colours.reg"} : Names{})
        << "the half-written file is gone";
  }

  // A virus scanner holds the new file open, so that it cannot take the old one's place.
  const std::u16string scanned = fixture->Folder(u"scanned");
  fixture->Put(scanned + u"\\colours.reg", "old");
  fixture->ScanNewFiles();
  EXPECT_EQ(access.ReplaceWhole(scanned + u"\\colours.reg", "new"), files::kSharingViolation);
  EXPECT_EQ(fixture->Get(scanned + u"\\colours.reg"), "old");

  // Another program takes every name the new file could have had: its files all stay.
  const std::u16string raced = fixture->Folder(u"raced");
  fixture->Put(raced + u"\\colours.reg", "old");
  fixture->TakeNewNames();
  EXPECT_EQ(access.ReplaceWhole(raced + u"\\colours.reg", "new"), files::kFileExists);
  Names expected = fixture->TakenNames();
  EXPECT_FALSE(expected.empty());
  expected.push_back(u"colours.reg");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(fixture->Names(raced), expected);
  EXPECT_EQ(fixture->Get(raced + u"\\colours.reg"), "old");
}

}  // namespace
