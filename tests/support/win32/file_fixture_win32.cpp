// Test set-up reads and writes real files of the Wine prefix directly with the W functions.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "files/win32/win32_file_access.h"
#include "support/file_fixture.h"

namespace tktest {
namespace {

const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

void DeleteTree(const std::u16string& folder) {
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW(Wide(folder + u"\\*"), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::u16string name(reinterpret_cast<const char16_t*>(found.cFileName));
      if (name == u"." || name == u"..") continue;
      const std::u16string path = folder + u"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        DeleteTree(path);
      } else {
        SetFileAttributesW(Wide(path), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(Wide(path));
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(Wide(folder));
}

// Files that cannot be opened for exclusive use: someone holds them open.
int OpenFilesIn(const std::u16string& folder) {
  int open = 0;
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW(Wide(folder + u"\\*"), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  do {
    const std::u16string name(reinterpret_cast<const char16_t*>(found.cFileName));
    if (name == u"." || name == u"..") continue;
    const std::u16string path = folder + u"\\" + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      open += OpenFilesIn(path);
    } else {
      Handle file(CreateFileW(Wide(path), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
      if (!file.valid() && GetLastError() == ERROR_SHARING_VIOLATION) ++open;
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return open;
}

class Win32FileFixture final : public FileFixture {
 public:
  Win32FileFixture() {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    root_ = reinterpret_cast<const char16_t*>(temp);
    if (!root_.empty() && root_.back() == u'\\') root_.pop_back();
    const std::string pid = std::to_string(GetCurrentProcessId());
    root_ += u"\\tintmark-tests-" + std::u16string(pid.begin(), pid.end());
    DeleteTree(root_);
    if (!CreateDirectoryW(Wide(root_), nullptr)) ADD_FAILURE() << "cannot create the test folder";
  }
  ~Win32FileFixture() override { DeleteTree(root_); }

  files::FileAccess& Access() override { return files_; }

  std::u16string Folder(std::u16string_view name) override {
    const std::u16string folder = root_ + u"\\" + std::u16string(name);
    if (!CreateDirectoryW(Wide(folder), nullptr)) ADD_FAILURE() << "cannot create a folder";
    return folder;
  }

  // Running as root, Wine refuses no write to an existing file; the proc file system takes none.
  std::u16string LockedFolder() override { return u"Z:\\proc"; }

  void Put(const std::u16string& path, std::string_view bytes) override {
    Handle file(CreateFileW(Wide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file.valid() ||
        !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
      ADD_FAILURE() << "cannot write a test file: error " << GetLastError();
    }
  }

  std::optional<std::string> Get(const std::u16string& path) override {
    Handle file(CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
      bytes.append(buffer, got);
    }
    return bytes;
  }

  std::vector<std::u16string> Names(const std::u16string& folder) override {
    std::vector<std::u16string> names;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(Wide(folder + u"\\*"), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        names.emplace_back(reinterpret_cast<const char16_t*>(found.cFileName));
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
  }

  int OpenFiles() override { return OpenFilesIn(root_); }

 private:
  std::u16string root_;
  files::Win32FileAccess files_;
};

}  // namespace

std::unique_ptr<FileFixture> MakeFileFixture() { return std::make_unique<Win32FileFixture>(); }

}  // namespace tktest
