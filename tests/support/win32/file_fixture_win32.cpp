// Set-up and inspection work on the real files with the standard library, around the file access
// under test.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/win32/windows_version.h"
#include "files/win32/win32_file_access.h"
#include "support/file_fixture.h"
#include "support/win32/native_windows.h"

namespace tktest {
namespace {

namespace fs = std::filesystem;

// A path as the W calls take it at any length.
std::wstring Long(const std::u16string& path) {
  const std::wstring wide = fs::path(path).make_preferred().wstring();
  return wide.starts_with(L"\\\\?\\") ? wide : L"\\\\?\\" + wide;
}

struct Entry {
  std::wstring path;
  bool folder;
};

// What a folder holds, found with the W calls, which reach below MAX_PATH's depth too.
std::vector<Entry> Entries(const std::wstring& folder) {
  std::vector<Entry> entries;
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return entries;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") {
      entries.push_back(
          {folder + L"\\" + name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return entries;
}

void RemoveAll(const std::wstring& folder) {
  for (const Entry& entry : Entries(folder)) {
    if (entry.folder) {
      RemoveAll(entry.path);
    } else {
      SetFileAttributesW(entry.path.c_str(), FILE_ATTRIBUTE_NORMAL);  // read-only ones too
      DeleteFileW(entry.path.c_str());
    }
  }
  RemoveDirectoryW(folder.c_str());
}

class Win32FileFixture final : public FileFixture {
 public:
  Win32FileFixture()
      : root_(fs::temp_directory_path() /
              ("tintmark-tests-" + std::to_string(GetCurrentProcessId()))) {
    RemoveAll(Long(root_.u16string()));
    fs::create_directory(root_);
  }
  ~Win32FileFixture() override {
    writableBytes.reset();
    appendOnRead.reset();
    takeNewNames = false;
    scanNewFiles = false;
    TakeScannedFiles();
    for (const HANDLE handle : held_) CloseHandle(handle);
    RemoveAll(Long(root_.u16string()));
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
  std::u16string FileGrowingByAByte() override {
    const std::u16string path = Folder(u"growing") + u"\\grew.reg";
    Put(path, "gre");
    appendOnRead = {path, "w"};
    return path;
  }
  // The process's own memory, read from address 0, which nothing maps.
  std::u16string UnreadableFile() override { return u"Z:\\proc\\self\\mem"; }

  // Windows 95, 98 and ME have no path longer than MAX_PATH; NT has, written with \\?\.
  std::optional<std::u16string> DeepFolder() override {
    if (common::win32::IsWindows9x()) return std::nullopt;
    std::wstring folder = Long(Folder(u"deep"));
    for (int depth = 0; folder.size() <= MAX_PATH; ++depth) {
      folder += L"\\" + std::wstring(60, static_cast<wchar_t>(L'a' + depth));
      EXPECT_TRUE(CreateDirectoryW(folder.c_str(), nullptr)) << GetLastError();
    }
    return std::u16string(folder.begin(), folder.end());
  }
  void FailNextWriteAfter(std::size_t bytes) override { writableBytes = bytes; }
  void TakeNewNames() override {
    takenNames.clear();
    takeNewNames = true;
  }
  std::vector<std::u16string> TakenNames() override { return takenNames; }
  void ScanNewFiles() override { scanNewFiles = true; }

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
    for (const Entry& entry : Entries(Long(folder))) {
      if (!entry.folder) names.push_back(fs::path(entry.path).filename().u16string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  // A file someone holds open cannot be opened for exclusive use; those the fixture holds do not
  // count.
  int OpenFiles() override {
    TakeScannedFiles();
    return OpenBelow(Long(root_.u16string())) - static_cast<int>(held_.size());
  }

 private:
  void TakeScannedFiles() {
    held_.insert(held_.end(), scannedFiles.begin(), scannedFiles.end());
    scannedFiles.clear();
  }
  static int OpenBelow(const std::wstring& folder) {
    int open = 0;
    for (const Entry& entry : Entries(folder)) {
      if (entry.folder) {
        open += OpenBelow(entry.path);
        continue;
      }
      const HANDLE file =
          CreateFileW(entry.path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
      if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
      } else if (GetLastError() == ERROR_SHARING_VIOLATION) {
        ++open;
      }
    }
    return open;
  }

  fs::path root_;
  files::Win32FileAccess files_;
  std::vector<HANDLE> held_;
};

}  // namespace

std::unique_ptr<FileFixture> MakeFileFixture() { return std::make_unique<Win32FileFixture>(); }

}  // namespace tktest
