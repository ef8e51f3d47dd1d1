// What the program relies on from file access, held against files in memory natively and against
// real files of the Wine prefix in the Windows build.
#include <gtest/gtest.h>

#include <memory>
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
}

}  // namespace
