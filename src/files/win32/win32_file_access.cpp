#include "files/win32/win32_file_access.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

#include "common/hex_digits.h"
#include "files/win32/file_calls.h"

namespace files {
namespace {

Status LastError() {
  const DWORD error = GetLastError();
  return error == ERROR_SUCCESS ? kWriteFault : static_cast<Status>(error);
}

bool Exists(const std::u16string& path) {
  return WideOrAnsiFiles().Attributes(path) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(const std::u16string& path) {
  const DWORD attributes = WideOrAnsiFiles().Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  void Reset(HANDLE handle) {
    Close();
    handle_ = handle;
  }
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }
  bool Close() {
    if (!Valid()) return true;
    const BOOL closed = CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    return closed != FALSE;
  }

 private:
  HANDLE handle_;
};

// A new file beside the target, named so that no other file is touched; deleted again unless it
// has been moved over the target.
class TempFile {
 public:
  explicit TempFile(const std::u16string& target) {
    const std::size_t slash = target.find_last_of(u"\\/:");
    folder_ = slash == std::u16string::npos ? u"" : target.substr(0, slash + 1);
  }
  ~TempFile() {
    handle_.Close();
    if (created_ && !moved_) WideOrAnsiFiles().Delete(name_);
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  // `attributes` of the file: FILE_ATTRIBUTE_NORMAL or a mix of the others.
  Status Create(DWORD attributes) {
    for (int attempt = 0; attempt < 100; ++attempt) {
      name_ = NewName(u".tmp");
      HANDLE handle = WideOrAnsiFiles().Open(name_, GENERIC_WRITE, 0, CREATE_NEW, attributes);
      if (handle != INVALID_HANDLE_VALUE) {
        handle_.Reset(handle);
        created_ = true;
        return kSuccess;
      }
      const DWORD error = GetLastError();
      if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
        return static_cast<Status>(error);
      }
    }
    return kFileExists;
  }

  Status WriteAndClose(std::string_view bytes) {
    while (!bytes.empty()) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
      DWORD written = 0;
      if (!WriteFile(handle_.Get(), bytes.data(), chunk, &written, nullptr)) return LastError();
      if (written == 0) return kWriteFault;
      bytes.remove_prefix(written);
    }
    if (!FlushFileBuffers(handle_.Get())) return LastError();
    if (!handle_.Close()) return LastError();
    return kSuccess;
  }

  Status MoveOver(const std::u16string& target) {
    if (!WideOrAnsiFiles().Move(name_, target,
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return LastError();
    }
    moved_ = true;
    return kSuccess;
  }

  // Over an existing file, whose security, creation time and attributes Windows then keeps. Some
  // failures of ReplaceFileW leave the old file under the backup name: it is put back. Where
  // ReplaceFileW cannot be used (a share that takes no ACL, an older system), the file is moved
  // over as before. The paths are full: Wine's ReplaceFileW refuses a bare name.
  Status ReplaceOver(const std::u16string& target) {
    const std::u16string full = FullPath(target), backup = FullPath(NewName(u".old"));
    if (WideOrAnsiFiles().Replace(full, FullPath(name_), backup)) {
      moved_ = true;
      WideOrAnsiFiles().Delete(backup);
      return kSuccess;
    }
    const Status error = LastError();
    if (Exists(backup) && !WideOrAnsiFiles().Move(backup, full, MOVEFILE_WRITE_THROUGH)) {
      return error;
    }
    return MoveOver(target);
  }

 private:
  std::u16string NewName(std::u16string_view extension) {
    static std::atomic<unsigned> counter{0};
    const unsigned seed = GetCurrentProcessId() * 2654435761u ^ GetTickCount();
    return folder_ + u"~tintmark" + Hex(seed + counter++) + std::u16string(extension);
  }

  static std::u16string Hex(unsigned value) {
    std::u16string text(8, u'0');
    for (int i = 7; i >= 0; --i, value >>= 4)
      text[i] = static_cast<char16_t>(common::kHexDigits[value & 0xF]);
    return text;
  }

  std::u16string folder_;
  std::u16string name_;
  FileHandle handle_{INVALID_HANDLE_VALUE};
  bool created_ = false;
  bool moved_ = false;
};

}  // namespace

std::u16string FullPath(const std::u16string& path) { return WideOrAnsiFiles().FullPath(path); }

Status Win32FileAccess::ReadWhole(const std::u16string& path, std::size_t limit,
                                  std::string& bytes) {
  bytes.clear();
  FileHandle file(WideOrAnsiFiles().Open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
  // Windows refuses a folder as it refuses a file one may not read; the user is told which. The
  // error is taken first: the look at the attributes may change it.
  if (!file.Valid()) {
    const Status error = LastError();
    return IsFolder(path) ? kIsAFolder : error;
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size)) return LastError();
  if (static_cast<unsigned long long>(size.QuadPart) > limit) return kFileTooLarge;

  // One byte more than the limit shows a file that grew meanwhile.
  std::string read(static_cast<std::size_t>(size.QuadPart) + 1, '\0');
  std::size_t filled = 0;
  for (;;) {
    if (filled == read.size()) {
      if (read.size() > limit) return kFileTooLarge;
      read.resize(std::min(read.size() * 2, limit + 1));
    }
    DWORD got = 0;
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(read.size() - filled, 1u << 20));
    if (!ReadFile(file.Get(), read.data() + filled, wanted, &got, nullptr)) return LastError();
    if (got == 0) break;
    filled += got;
  }
  if (filled > limit) return kFileTooLarge;
  read.resize(filled);
  bytes = std::move(read);
  return kSuccess;
}

Status Win32FileAccess::ReplaceWhole(const std::u16string& path, std::string_view bytes) {
  const DWORD attributes = WideOrAnsiFiles().Attributes(path);
  const bool replacing =
      attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  // Windows refuses to replace a read-only file; Wine's MoveFileExW, run as root, does not.
  if (replacing && (attributes & FILE_ATTRIBUTE_READONLY)) return kAccessDenied;
  // The new file is made with the old one's attributes: Wine's ReplaceFileW keeps none of them.
  constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
  const DWORD kept = replacing ? attributes & kKept : 0;
  TempFile temp(path);
  const Status created = temp.Create(kept ? kept : FILE_ATTRIBUTE_NORMAL);
  if (created != kSuccess) return created;
  if (const Status status = temp.WriteAndClose(bytes); status != kSuccess) return status;
  return replacing ? temp.ReplaceOver(path) : temp.MoveOver(path);
}

}  // namespace files
