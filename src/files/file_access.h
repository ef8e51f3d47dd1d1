#pragma once
// The two file operations the program needs, as an interface: the W calls of Windows, or in
// memory for native tests. Paths are UTF-16 and may hold any character a Windows path may.

#include <cstddef>
#include <string>
#include <string_view>

namespace files {

using Status = long;  // 0: success, otherwise a Windows error code

constexpr Status kSuccess = 0;
constexpr Status kFileNotFound = 2;
constexpr Status kPathNotFound = 3;
constexpr Status kAccessDenied = 5;
constexpr Status kWriteFault = 29;
constexpr Status kReadFault = 30;
constexpr Status kSharingViolation = 32;
constexpr Status kFileExists = 80;
constexpr Status kFileTooLarge = 223;
constexpr Status kIsAFolder = 336;  // ERROR_DIRECTORY_NOT_SUPPORTED

// File attributes, with the values of Windows.
constexpr unsigned kReadOnly = 0x1;
constexpr unsigned kHidden = 0x2;
constexpr unsigned kSystem = 0x4;
constexpr unsigned kArchive = 0x20;

class FileAccess {
 public:
  virtual ~FileAccess() = default;
  // The whole file, when it holds at most `limit` bytes; a larger one is refused with
  // kFileTooLarge without being read whole, a folder with kIsAFolder. On failure `bytes` is
  // empty.
  virtual Status ReadWhole(const std::u16string& path, std::size_t limit, std::string& bytes) = 0;
  // Creates or replaces the file with `bytes` in one step: they are written to a new file in the
  // same folder and flushed, and only then is that file moved over `path`. A file replaced keeps
  // its attributes; a read-only one is refused with kAccessDenied. On failure the file at `path`
  // is as it was and the new file is gone.
  virtual Status ReplaceWhole(const std::u16string& path, std::string_view bytes) = 0;
};

}  // namespace files
