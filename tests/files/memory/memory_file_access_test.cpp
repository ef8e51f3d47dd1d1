// Faults that cannot be provoked on real files under Wine, injected into the files in memory: a
// replace that fails at any step leaves the old file whole and no new file behind.
#include "files/memory/memory_file_access.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using files::MemoryFileAccess;

constexpr char16_t kFolder[] = u"C:\\色の設定";
constexpr char16_t kPath[] = u"C:\\色の設定\\colours.reg";

TEST(MemoryFileAccess, AReplaceFailingAtAnyStepChangesNothing) {
  struct Case {
    const char* fault;
    std::function<void(MemoryFileAccess&)> inject;
    files::Status status;
  };
  const std::vector<Case> cases = {
      {"no file can be created", [](auto& f) { f.RefuseCreateIn(u"c:\\色の設定"); },
       files::kAccessDenied},
      {"the write stops half-way", [](auto& f) { f.FailNextWriteAfter(5); }, files::kWriteFault},
      {"the move is refused", [](auto& f) { f.RefuseMoveOnto(u"C:/色の設定/COLOURS.REG"); },
       files::kAccessDenied},
  };
  for (const Case& c : cases) {
    for (const bool existing : {true, false}) {
      SCOPED_TRACE(std::string(c.fault) + (existing ? ", old file" : ", new file"));
      MemoryFileAccess files;
      files.CreateFolder(kFolder);
      if (existing) files.SetFile(kPath, "old colours");
      c.inject(files);
      EXPECT_EQ(files.ReplaceWhole(kPath, "new colours"), c.status);
      EXPECT_EQ(files.File(kPath),
                existing ? std::optional<std::string>("old colours") : std::nullopt);
      EXPECT_EQ(files.Names(kFolder).size(), existing ? 1u : 0u);
      EXPECT_EQ(files.OpenFiles(), 0);
    }
  }
}

}  // namespace
