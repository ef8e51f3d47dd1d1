#include <algorithm>

#include "files/memory/memory_file_access.h"
#include "support/file_fixture.h"

namespace tktest {
namespace {

class MemoryFileFixture final : public FileFixture {
 public:
  MemoryFileFixture() {
    files_.CreateFolder(u"C:\\locked");
    files_.RefuseCreateIn(u"C:\\locked");
  }

  files::FileAccess& Access() override { return files_; }
  std::u16string Folder(std::u16string_view name) override {
    const std::u16string folder = u"C:\\tests\\" + std::u16string(name);
    files_.CreateFolder(folder);
    return folder;
  }
  std::u16string LockedFolder() override { return u"C:\\locked"; }
  // Files in memory do not change while they are read.
  std::u16string GrowingFile() override {
    files_.SetFile(u"C:\\growing", "grown\n");
    return u"C:\\growing";
  }
  std::u16string FileGrowingByAByte() override {
    files_.SetFile(u"C:\\grew", "grew");
    return u"C:\\grew";
  }
  std::u16string UnreadableFile() override {
    files_.SetFile(u"C:\\unreadable", "unread");
    files_.FailReadsOf(u"C:\\unreadable");
    return u"C:\\unreadable";
  }
  std::optional<std::u16string> DeepFolder() override {
    return Folder(u"deep\\" + std::u16string(300, u'd'));
  }
  void FailNextWriteAfter(std::size_t bytes) override { files_.FailNextWriteAfter(bytes); }
  void TakeNewNames() override { files_.TakeNewNames(); }
  std::vector<std::u16string> TakenNames() override { return files_.TakenNames(); }
  void ScanNewFiles() override { files_.ScanNewFiles(); }
  void Put(const std::u16string& path, std::string_view bytes) override {
    files_.SetFile(path, bytes);
  }
  std::optional<std::string> Get(const std::u16string& path) override { return files_.File(path); }
  void HoldOpen(const std::u16string& path) override { files_.HoldOpen(path); }
  void SetAttributes(const std::u16string& path, unsigned attributes) override {
    files_.SetAttributes(path, attributes);
  }
  unsigned Attributes(const std::u16string& path) override { return files_.Attributes(path); }
  std::vector<std::u16string> Names(const std::u16string& folder) override {
    auto names = files_.Names(folder);
    std::sort(names.begin(), names.end());
    return names;
  }
  int OpenFiles() override { return files_.OpenFiles(); }

 private:
  files::MemoryFileAccess files_;
};

}  // namespace

std::unique_ptr<FileFixture> MakeFileFixture() { return std::make_unique<MemoryFileFixture>(); }

}  // namespace tktest
