// Set-up and inspection work on the real files with the standard library, around the file access
// under test.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "files/win32/win32_file_access.h"
#include "support/file_fixture.h"

namespace tktest {
namespace {

namespace fs = std::filesystem;

class Win32FileFixture final : public FileFixture {
 public:
  Win32FileFixture()
      : root_(fs::temp_directory_path() /
              ("tintmark-tests-" + std::to_string(GetCurrentProcessId()))) {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
    fs::create_directory(root_);
  }
  ~Win32FileFixture() override {
    for (const HANDLE handle : held_) CloseHandle(handle);
    std::error_code ignored;
    for (const auto& entry : fs::recursive_directory_iterator(root_, ignored)) {
      SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);  // read-only ones too
    }
    fs::remove_all(root_, ignored);
  }

  files::FileAccess& Access() override { return files_; }
  std::u16string Folder(std::u16string_view name) override {
    const fs::path folder = root_ / fs::path(name);
    fs::create_directory(folder);
    return folder.u16string();
  }
  // Running as root, Wine refuses no write to an existing file; the proc file system takes none.
  std::u16string LockedFolder() override { return u"Z:\\proc"; }
  // The proc file system reports every file empty.
  std::u16string GrowingFile() override { return u"Z:\\proc\\sys\\kernel\\ostype"; }
  // The process's own memory, read from address 0, which nothing maps.
  std::u16string UnreadableFile() override { return u"Z:\\proc\\self\\mem"; }

  void Put(const std::u16string& path, std::string_view bytes) override {
    std::ofstream(fs::path(path), std::ios::binary).write(bytes.data(), bytes.size());
  }
  std::optional<std::string> Get(const std::u16string& path) override {
    std::ifstream file(fs::path(path), std::ios::binary);
    if (!file) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(file), {});
  }
  void HoldOpen(const std::u16string& path) override {
    const HANDLE handle =
        CreateFileW(fs::path(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    held_.push_back(handle);
  }
  void SetAttributes(const std::u16string& path, unsigned attributes) override {
    EXPECT_TRUE(SetFileAttributesW(fs::path(path).c_str(), attributes));
  }
  unsigned Attributes(const std::u16string& path) override {
    return GetFileAttributesW(fs::path(path).c_str());
  }
  std::vector<std::u16string> Names(const std::u16string& folder) override {
    std::vector<std::u16string> names;
    for (const auto& entry : fs::directory_iterator(fs::path(folder))) {
      if (entry.is_regular_file()) names.push_back(entry.path().filename().u16string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  // A file someone holds open cannot be opened for exclusive use; those the fixture holds do not
  // count.
  int OpenFiles() override {
    int open = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root_)) {
      if (!entry.is_regular_file()) continue;  // the file dialogs keep the current folder open
      const HANDLE file =
          CreateFileW(entry.path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
      if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
      } else if (GetLastError() == ERROR_SHARING_VIOLATION) {
        ++open;
      }
    }
    return open - static_cast<int>(held_.size());
  }

 private:
  fs::path root_;
  files::Win32FileAccess files_;
  std::vector<HANDLE> held_;
};

}  // namespace

std::unique_ptr<FileFixture> MakeFileFixture() { return std::make_unique<Win32FileFixture>(); }

}  // namespace tktest
